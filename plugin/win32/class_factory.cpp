#include "plugin/win32/class_factory.h"

#include <new>

#include "common/contained.h"
#include "plugin/core/plugin.h"
#include "plugin/win32/module.h"
#include "plugin/win32/nick_object.h"

namespace tb::win32 {

HRESULT ClassFactory::Make(REFIID iid, void** object) {
  Plugin* plugin = nullptr;
  try {
    plugin = &ThePlugin();
    plugin->EnsureStarted();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    // A default setting the registry refused; the next creation tries again.
    if (plugin != nullptr) {
      ReportIfUnexpected(plugin->Platform().diagnostics, "creation");
    }
    return E_FAIL;
  }
  return NickObject::Create(*plugin, iid, object);
}

ClassFactory& TheClassFactory() {
  static ClassFactory factory;
  return factory;
}

}  // namespace tb::win32
