#include "plugin/players/poll_timer.h"

#include <algorithm>
#include <array>

#include "plugin/core/plugin.h"
#include "plugin/core/settings.h"

namespace tb {
namespace {

// Away, be right back, busy, idle, on the phone, online, out to lunch.
constexpr std::array<std::int32_t, 7> kSignedInStatuses = {34, 14, 10, 18, 50, 2, 66};

void Tick(Plugin& plugin) {
  platform::MessengerObject* messenger = plugin.Messenger().oSharedMessenger();
  if (messenger == nullptr) {
    return;
  }
  std::int32_t status = 0;
  if (!platform::Succeeded(messenger->GetMyStatus(&status)) || !IsSignedInStatus(status)) {
    return;
  }
  if (ReadSetting(plugin.Platform().registry, kOnOff) != kSwitchOn) {
    return;
  }
}

}  // namespace

bool IsSignedInStatus(std::int32_t status) {
  return std::find(kSignedInStatuses.begin(), kSignedInStatuses.end(), status) !=
         kSignedInStatuses.end();
}

void PollTimerProc(Plugin& plugin) noexcept {
  try {
    Tick(plugin);
  } catch (...) {
    // Whatever failed, the host's thread goes on; the next tick starts afresh.
  }
}

}  // namespace tb
