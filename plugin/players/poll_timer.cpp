#include <algorithm>
#include <array>

#include "common/contained.h"
#include "common/settings.h"
#include "plugin/base/scoped_flag.h"
#include "plugin/players/mod_timer.h"
#include "plugin/players/mod_winamp.h"

namespace tb {
namespace {

// Away, be right back, busy, idle, on the phone, online, out to lunch.
constexpr std::array<std::int32_t, 7> kSignedInStatuses = {34, 14, 10, 18, 50, 2, 66};

bool WindowPresent(platform::Platform& platform, const char16_t* className) {
  return IsPresent(platform.windows.FindWindow(className, nullptr));
}

}  // namespace

bool IsSignedInStatus(std::int32_t status) {
  return std::find(kSignedInStatuses.begin(), kSignedInStatuses.end(), status) !=
         kSignedInStatuses.end();
}

void ModTimer::PollTimerProc() noexcept {
  try {
    Tick();
  } catch (...) {
    // Whatever failed, the host's thread goes on; the next tick starts
    // afresh. A fault of ours is told, not hidden.
    ReportIfUnexpected(platform_.diagnostics, "poll tick");
  }
}

void ModTimer::WinampTick() {
  if (WindowPresent(platform_, kStudioWindowClass)) {
    ReadStudio();
  } else if (WindowPresent(platform_, kWinampWindowClass)) {
    ReadWinamp();
  } else if (winampChanged_ == Changed::kYes) {
    // The window whose song the name shows has closed. Neither window was
    // found a moment ago, with no message processed since: a second lookup
    // could only find the same.
    winampChanged_ = Changed::kNo;
    frmSendText_.changeNameBack(kPlayerWinamp);
  } else if (studioChanged_ == Changed::kYes) {
    studioChanged_ = Changed::kNo;
    frmSendText_.changeNameBack(kPlayerWinamp);
  }
}

void ModTimer::Tick() {
  // A tick that comes due while the name is being changed or another tick
  // waits (for the file-information dialog, the focus or the key stroke)
  // returns at once: the readers store their last title only after the
  // change returns, so it would act on the same song again, and a title
  // read differently meanwhile would start a wait inside the wait, holding
  // the host's thread a second longer each time. The next tick catches up.
  if (frmSendText_.Changing() || ticking_) {
    return;
  }
  const ScopedFlag ticking(ticking_);
  platform::MessengerObject* messenger = messenger_.oSharedMessenger();
  if (messenger == nullptr) {
    return;
  }
  std::int32_t status = 0;
  if (!platform::Succeeded(messenger->GetMyStatus(&status)) || !IsSignedInStatus(status)) {
    return;
  }
  // A change that could not be delivered goes first, whatever the switch:
  // the restore that switching off asked for must arrive too.
  frmSendText_.DeliverWaiting();
  if (ReadSetting(platform_.registry, kOnOff) != kSwitchOn) {
    return;
  }
  // One reading serves every comparison: nothing can change the setting
  // between them.
  const std::u16string player = ReadSetting(platform_.registry, kPlayer);
  if (player == kPlayerMusicMatch) {
    if (WindowPresent(platform_, kMusicMatchWindowClass)) {
      ReadMusicMatch();
    }
  } else if (player == kPlayerWindowsMedia) {
    ReadMediaPlayer();
  } else if (player == kPlayerWinamp) {
    WinampTick();
  }
}

}  // namespace tb
