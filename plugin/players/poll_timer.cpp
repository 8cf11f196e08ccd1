#include "plugin/players/poll_timer.h"

#include <algorithm>
#include <array>

#include "plugin/core/plugin.h"
#include "plugin/core/settings.h"
#include "plugin/players/mod_winamp.h"
#include "plugin/players/readers.h"

namespace tb {
namespace {

// Away, be right back, busy, idle, on the phone, online, out to lunch.
constexpr std::array<std::int32_t, 7> kSignedInStatuses = {34, 14, 10, 18, 50, 2, 66};

bool WindowPresent(platform::Platform& platform, const char16_t* className) {
  return IsPresent(platform.windows.FindWindow(className, nullptr));
}

void WinampTick(Plugin& plugin) {
  platform::Platform& platform = plugin.Platform();
  ModTimer& state = plugin.modTimer();
  if (WindowPresent(platform, kStudioWindowClass)) {
    ReadStudio(plugin);
  } else if (WindowPresent(platform, kWinampWindowClass)) {
    ReadWinamp(plugin);
  } else if (state.WinampChanged == kChanged && !WindowPresent(platform, kWinampWindowClass)) {
    // The window whose song the name shows has closed.
    state.WinampChanged = kNotChanged;
    plugin.frmSendText().changeNameBack();
  } else if (state.StudioChanged == kChanged && !WindowPresent(platform, kStudioWindowClass)) {
    state.StudioChanged = kNotChanged;
    plugin.frmSendText().changeNameBack();
  }
}

void Tick(Plugin& plugin) {
  platform::Platform& platform = plugin.Platform();
  platform::MessengerObject* messenger = plugin.Messenger().oSharedMessenger();
  if (messenger == nullptr) {
    return;
  }
  std::int32_t status = 0;
  if (!platform::Succeeded(messenger->GetMyStatus(&status)) || !IsSignedInStatus(status)) {
    return;
  }
  if (ReadSetting(platform.registry, kOnOff) != kSwitchOn) {
    return;
  }
  // The setting is read afresh for each comparison, as the options dialog
  // may change it at any time.
  if (ReadSetting(platform.registry, kPlayer) == kPlayerMusicMatch) {
    if (WindowPresent(platform, kMusicMatchWindowClass)) {
      ReadMusicMatch(plugin);
    }
  } else if (ReadSetting(platform.registry, kPlayer) == kPlayerWindowsMedia) {
    ReadMediaPlayer(plugin);
  } else if (ReadSetting(platform.registry, kPlayer) == kPlayerWinamp) {
    WinampTick(plugin);
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
