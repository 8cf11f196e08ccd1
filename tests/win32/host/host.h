// The test host: stands in for the MsgPlus host and for Messenger, and
// checks Tunebadge.dll the way they use it, under Wine.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/check_log.h"
#include "tests/win32/support/messenger_standin.h"
#include "tests/win32/support/regsvr32.h"

namespace tb::test {

struct Host {
  // The library's full path, as GetModuleFileName and the registry give it.
  std::u16string dllPath;
  MessengerStandInState& messenger;
  CheckLog& log;
};

// A REG_SZ value under any root, or `missing` when there is none.
std::u16string ReadText(HKEY root, const std::u16string& path, const std::u16string& name,
                        const std::u16string& missing = u"<missing>");

// registration_checks.cpp
void CheckNothingRegistered(Host& host, const std::string& when);
void CheckRegistration(Host& host);
void CheckTypeLibrary(Host& host);
void CheckVersionResource(Host& host);
void CheckUnregistration(Host& host);

// lifetime_checks.cpp
void CheckFailedStartup(Host& host);
void CheckStartup(Host& host);
void CheckPollRate(Host& host);
void CheckLibraryFreed(Host& host);

// nick_checks.cpp: the six methods, through the vtable and by name.
void CheckVtableCalls(Host& host);
void CheckDispatchCalls(Host& host);

}  // namespace tb::test
