// The four entry points of the publisher's in-process COM server and its
// one class object. None lets a C++ exception out.
#include <windows.h>

#include <objbase.h>

#include <string>

#include "common/publisher_identity.h"
#include "common/win32/guarded.h"
#include "common/win32/guid.h"
#include "platform/win32/processes.h"
#include "platform/win32/registry.h"
#include "publisher/registration.h"
#include "publisher/win32/module.h"
#include "publisher/win32/plugin_object.h"

namespace {

using tb::win32::Guarded;

constexpr GUID kClsidPublisherGuid = tb::win32::GuidFromText(tb::publisher::kClsidPublisher);

HRESULT FromStatus(tb::platform::Status status) {
  return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<DWORD>(status));
}

class ClassFactory final : public tb::win32::LibraryClassFactory {
 public:
  HRESULT Make(REFIID iid, void** object) override {
    return tb::win32::PublisherObject::Create(iid, object);
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
