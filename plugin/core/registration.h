// The class and ProgID keys of self-registration, under HKEY_CLASSES_ROOT.
// The interface and type-library keys are the type library's own and are
// written and removed with it.
#pragma once

#include <string>

#include "platform/registry.h"

namespace tb {

// Writes CLSID\{class}\... (InprocServer32 with the module's path and the
// apartment threading model, ProgID, TypeLib, VERSION, Programmable) and the
// ProgID key. Answers the first failing call's code.
platform::Status RegisterServer(platform::Registry& registry, const std::u16string& modulePath);

// Removes every key that RegisterServer writes; keys already gone are no
// failure. Answers the first failing call's code.
platform::Status UnregisterServer(platform::Registry& registry);

}  // namespace tb
