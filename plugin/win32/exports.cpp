// The four entry points of an in-process COM server. None lets a C++
// exception out.
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>
#include <olectl.h>

#include <new>
#include <string>

#include "common/win32/guarded.h"
#include "common/win32/guid.h"
#include "platform/win32/registry.h"
#include "platform/win32/wide.h"
#include "plugin/core/registration.h"
#include "plugin/win32/class_factory.h"
#include "plugin/win32/module.h"

using tb::win32::Guarded;

namespace {

#ifdef _WIN64
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

HRESULT FromStatus(tb::platform::Status status) {
  return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<DWORD>(status));
}

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  *object = nullptr;
  if (!IsEqualCLSID(clsid, tb::win32::kClsidNickGuid)) {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return tb::win32::TheClassFactory().QueryInterface(iid, object);
}

// The poll timer is never killed and its callback is in this library, so
// once it runs the library stays.
STDAPI DllCanUnloadNow() {
  return tb::win32::PollTimerRunning() || tb::win32::ModuleLocked() ? S_FALSE : S_OK;
}

STDAPI DllRegisterServer() {
  return Guarded([] {
    std::u16string path = tb::win32::ModulePath();
    if (path.empty()) {
      return HRESULT_FROM_WIN32(GetLastError());
    }
    tb::win32::Win32Registry registry;
    const HRESULT classes = FromStatus(tb::RegisterServer(registry, path));
    if (FAILED(classes)) {
      return classes;
    }
    ITypeLib* library = nullptr;
    HRESULT hr = tb::win32::LoadModuleTypeLib(&library);
    if (SUCCEEDED(hr)) {
      hr = RegisterTypeLib(library, reinterpret_cast<LPOLESTR>(path.data()), nullptr);
      library->Release();
    }
    return hr;
  });
}

// Removes the type library's keys (its own and the interface's), then the
// class and ProgID keys; goes on past a failure and answers the first.
STDAPI DllUnregisterServer() {
  return Guarded([] {
    const HRESULT typeLib = UnRegisterTypeLib(tb::win32::kLibIdGuid, tb::win32::kTypeLibMajor,
                                              tb::win32::kTypeLibMinor, LOCALE_NEUTRAL, kSysKind);
    tb::win32::Win32Registry registry;
    const HRESULT classes = FromStatus(tb::UnregisterServer(registry));
    return FAILED(typeLib) ? typeLib : classes;
  });
}
