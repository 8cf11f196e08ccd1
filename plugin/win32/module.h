// What Tunebadge.dll keeps for its whole load: its own module, the count of
// what keeps it loaded, and the one plug-in built over the Win32 adapters.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <string>

#include "common/win32/com_server.h"

namespace tb {
class Plugin;
}

namespace tb::win32 {

// The process-wide plug-in, made on first use (which may throw bad_alloc).
Plugin& ThePlugin();
// Whether the plug-in's poll timer runs: its callback lives in this library.
[[nodiscard]] bool PollTimerRunning();

// The full path of Tunebadge.dll itself.
std::u16string ModulePath();

// The type library embedded in Tunebadge.dll; the caller releases it.
HRESULT LoadModuleTypeLib(ITypeLib** library);

}  // namespace tb::win32
