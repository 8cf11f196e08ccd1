// What the publisher's library keeps for its whole load: its own module and
// the count of what keeps it loaded (objects, references to the class
// object, LockServer locks), which DllCanUnloadNow asks about.
#pragma once

#include <windows.h>

namespace tb::win32 {

void LockModule();
void UnlockModule();
[[nodiscard]] bool ModuleLocked();

HMODULE PublisherModule();

}  // namespace tb::win32
