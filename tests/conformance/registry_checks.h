// Registry behaviour that the plug-in and the installer rely on, pinned by
// checks that run against the simulated registry on Linux and against the
// real one under Wine: the simulated desktop is only as good as its match.
#pragma once

#include <string>

#include "platform/registry.h"
#include "tests/support/check_log.h"

namespace tb::test {

// The raw registry calls, under HKEY_CURRENT_USER `scratch` (made and removed
// by the checks).
void CheckRegistryCalls(platform::Registry& registry, const std::u16string& scratch, CheckLog& log);

// The plug-in's registry routines and settings store.
void CheckRegistryRoutines(platform::Registry& registry, const std::u16string& scratch,
                           CheckLog& log);

// The settings store: its location, value type and start-up defaults. Clears
// the plug-in's settings first.
void CheckSettingsStore(platform::Registry& registry, CheckLog& log);

}  // namespace tb::test
