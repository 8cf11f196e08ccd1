// The four entry points of the publisher's in-process COM server and its
// one class object. None lets a C++ exception out.
#include <windows.h>

#include <objbase.h>

#include <string>

#include "platform/win32/processes.h"
#include "platform/win32/registry.h"
#include "plugin/win32/guarded.h"
#include "plugin/win32/guid.h"
#include "publisher/identity.h"
#include "publisher/registration.h"
#include "publisher/win32/module.h"
#include "publisher/win32/plugin_object.h"

namespace {

using tb::win32::Guarded;

constexpr GUID kClsidPublisherGuid = tb::win32::GuidFromText(tb::publisher::kClsidPublisher);

HRESULT FromStatus(tb::platform::Status status) {
  return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<DWORD>(status));
}

// Lives as long as the library; each reference to it holds the library.
class ClassFactory final : public IClassFactory {
 public:
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
    tb::win32::LockModule();
    return 2;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    tb::win32::UnlockModule();
    return 1;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (object == nullptr) {
      return E_POINTER;
    }
    *object = nullptr;
    if (outer != nullptr) {
      return CLASS_E_NOAGGREGATION;
    }
    return tb::win32::PublisherObject::Create(iid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock != FALSE) {
      tb::win32::LockModule();
    } else {
      tb::win32::UnlockModule();
    }
    return S_OK;
  }
};

ClassFactory g_factory;

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  *object = nullptr;
  if (!IsEqualCLSID(clsid, kClsidPublisherGuid)) {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return g_factory.QueryInterface(iid, object);
}

STDAPI DllCanUnloadNow() { return tb::win32::ModuleLocked() ? S_FALSE : S_OK; }

STDAPI DllRegisterServer() {
  return Guarded([] {
    const std::u16string path = tb::win32::ModulePath(tb::win32::PublisherModule());
    if (path.empty()) {
      return HRESULT_FROM_WIN32(GetLastError());
    }
    tb::win32::Win32Registry registry;
    return FromStatus(tb::publisher::RegisterPublisher(registry, path));
  });
}

STDAPI DllUnregisterServer() {
  return Guarded([] {
    tb::win32::Win32Registry registry;
    return FromStatus(tb::publisher::UnregisterPublisher(registry));
  });
}
