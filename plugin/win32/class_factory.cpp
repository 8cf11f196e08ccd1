#include "plugin/win32/class_factory.h"

#include <new>

#include "plugin/core/plugin.h"
#include "plugin/win32/module.h"
#include "plugin/win32/nick_object.h"

namespace tb::win32 {

HRESULT ClassFactory::QueryInterface(REFIID iid, void** object) {
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

ULONG ClassFactory::AddRef() {
  LockModule();
  return 2;
}

ULONG ClassFactory::Release() {
  UnlockModule();
  return 1;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  *object = nullptr;
  if (outer != nullptr) {
    return CLASS_E_NOAGGREGATION;
  }
  Plugin* plugin = nullptr;
  try {
    plugin = &ThePlugin();
    plugin->EnsureStarted();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    // A default setting the registry refused; the next creation tries again.
    return E_FAIL;
  }
  return NickObject::Create(*plugin, iid, object);
}

HRESULT ClassFactory::LockServer(BOOL lock) {
  if (lock != FALSE) {
    LockModule();
  } else {
    UnlockModule();
  }
  return S_OK;
}

ClassFactory& TheClassFactory() {
  static ClassFactory factory;
  return factory;
}

}  // namespace tb::win32
