// The poll tick: once a second, decides whether to look at a media player
// at all on this tick.
#pragma once

#include <cstdint>

namespace tb {

class Plugin;

// Messenger's MISTATUS codes for the signed-in states in which the tick goes
// on: online, busy, be right back, idle, away, on the phone, out to lunch.
bool IsSignedInStatus(std::int32_t status);

// The poll timer's callback. No failure of any step leaves it: a failed
// Messenger call or a thrown error ends the tick where it happened.
void PollTimerProc(Plugin& plugin) noexcept;

}  // namespace tb
