// Tunebadge.dll's one class object, for class Nick. It lives as long as the
// library; each reference to it holds the library loaded.
#pragma once

#include <windows.h>

#include <unknwn.h>

namespace tb::win32 {

class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // Runs start-up, once per load, before the first object is handed out;
  // when start-up fails, no object is.
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;
};

ClassFactory& TheClassFactory();

}  // namespace tb::win32
