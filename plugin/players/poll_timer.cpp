#include "plugin/players/poll_timer.h"

#include <algorithm>
#include <array>

#include "common/settings.h"
#include "plugin/core/plugin.h"
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
  } else if (state.WinampChanged == kChanged) {
    // The window whose song the name shows has closed. Neither window was
    // found a moment ago, with no message processed since: a second lookup
    // could only find the same.
    state.WinampChanged = kNotChanged;
    plugin.frmSendText().changeNameBack(kPlayerWinamp);
  } else if (state.StudioChanged == kChanged) {
    state.StudioChanged = kNotChanged;
    plugin.frmSendText().changeNameBack(kPlayerWinamp);
  }
}

void Tick(Plugin& plugin) {
  // A tick that comes due while the name is being changed (the key-stroke
  // wait lets the thread process messages) returns at once: the readers
  // store their last title only after the change returns, so it would act
  // on the same song again. The next tick catches up.
  if (plugin.FrmSendTextLoaded() && plugin.frmSendText().Changing()) {
    return;
  }
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
  // One reading serves every comparison: nothing can change the setting
  // between them.
  const std::u16string player = ReadSetting(platform.registry, kPlayer);
  if (player == kPlayerMusicMatch) {
    if (WindowPresent(platform, kMusicMatchWindowClass)) {
      ReadMusicMatch(plugin);
    }
  } else if (player == kPlayerWindowsMedia) {
    ReadMediaPlayer(plugin);
  } else if (player == kPlayerWinamp) {
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
