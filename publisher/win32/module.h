// What the publisher's library keeps for its whole load: its own module,
// and (com_server.h) the count of what holds it loaded.
#pragma once

#include <windows.h>

#include "common/win32/com_server.h"

namespace tb::win32 {

HMODULE PublisherModule();

}  // namespace tb::win32
