// The class object of an in-process COM server of ours: it lives as long as
// the library, and each reference to it, like each LockServer lock, holds
// the library loaded.
#pragma once

#include <windows.h>

#include <unknwn.h>

#include "common/win32/com_object.h"

namespace tb::win32 {

// Make is the class's own.
class LibraryClassFactory
    : public ComObject<Lifetime::kStatic, Implements<IClassFactory, IID_IClassFactory>> {
 public:
  // A new object's `iid` interface in *object.
  virtual HRESULT Make(REFIID iid, void** object) = 0;

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) final {
    if (object == nullptr) {
      return E_POINTER;
    }
    *object = nullptr;
    if (outer != nullptr) {
      return CLASS_E_NOAGGREGATION;
    }
    return Make(iid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) final {
    if (lock != FALSE) {
      LockModule();
    } else {
      UnlockModule();
    }
    return S_OK;
  }
};

}  // namespace tb::win32
