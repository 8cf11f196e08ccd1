// What must hold on the simulated desktop whatever a session did and
// whatever failed in it: the fault sweep, the random sessions and the day
// of listening all check it, and report what broke one line each.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/desktop.h"
#include "plugin/dialogs/frm_about.h"
#include "plugin/namechanger/frm_send_text.h"
#include "plugin/players/mod_winamp.h"
#include "tools/sandbox/sim_runner.h"

namespace tb::simulation {

// The longest that one call of the plug-in (a poll tick, or a host call)
// may hold the thread, in virtual time: the about box's timer second with a
// tick inside it that waits for the file-information dialog, the focus and
// the key stroke, and reads a few window texts from a player that does not
// answer. A slow host adds its delay.
inline constexpr std::uint64_t kLongestCallMs =
    kAboutTimerMs + kFileInfoWaitMs + kFocusWaitMs + kKeyStrokeWaitMs + 8 * kWindowTextTimeoutMs;

// What broke, one line each: an unexpected error contained, a registry key
// or file left open, a media reference of Windows Media Player held, more
// than one poll timer, a call of the plug-in that held the thread longer
// than kLongestCallMs and `slowHostMs`, or Alt+0 received by a window that
// is not a conversation window.
std::vector<std::string> BrokenProperties(const sim::SimDesktop& desktop,
                                          const sandbox::HostCalls& calls,
                                          std::uint64_t slowHostMs = 0);

}  // namespace tb::simulation
