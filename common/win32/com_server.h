// What every in-process COM server of ours has: the count of what holds
// the library loaded (objects handed out, references to the class object,
// LockServer locks), which DllCanUnloadNow asks about, and a class object
// that lives as long as the library. Each library has its own count.
#pragma once

#include <windows.h>

#include <unknwn.h>

namespace tb::win32 {

inline LONG g_moduleLocks = 0;

inline void LockModule() { InterlockedIncrement(&g_moduleLocks); }
inline void UnlockModule() { InterlockedDecrement(&g_moduleLocks); }
[[nodiscard]] inline bool ModuleLocked() {
  return InterlockedCompareExchange(&g_moduleLocks, 0, 0) != 0;
}

// The library's one class object; each reference to it holds the library.
// Make is the class's own.
class LibraryClassFactory : public IClassFactory {
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
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) {
      return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    LockModule();
    return 2;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    UnlockModule();
    return 1;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock != FALSE) {
      LockModule();
    } else {
      UnlockModule();
    }
    return S_OK;
  }
};

}  // namespace tb::win32
