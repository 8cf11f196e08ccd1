#include "plugin/players/mod_winamp.h"

#include <algorithm>
#include <array>
#include <vector>

#include "common/text.h"
#include "plugin/base/bounded_wait.h"

namespace tb {

bool IsPresent(platform::Hwnd window) { return window != 0; }

platform::Hwnd FindWinamp(platform::Platform& platform) {
  return platform.windows.FindWindow(kWinampWindowClass, nullptr);
}

std::optional<std::u16string> ReadWindowString(platform::Platform& platform,
                                               platform::Hwnd window) {
  if (window == 0) {
    return std::u16string();
  }
  std::intptr_t length = 0;
  const platform::SendResult asked = platform.windows.SendMessageTimeout(
      window, platform::kWmGetTextLength, 0, 0, kWindowTextTimeoutMs, &length);
  if (asked == platform::SendResult::kTimedOut) {
    return std::nullopt;
  }
  if (asked != platform::SendResult::kAnswered || length <= 0) {
    return std::u16string();
  }
  length = std::min(length, kWindowTextMaxLength);
  std::u16string buffer(static_cast<std::size_t>(length) + 1, u'\0');
  std::intptr_t copied = 0;
  const platform::SendResult read = platform.windows.SendMessageTimeout(
      window, platform::kWmGetText, static_cast<std::uintptr_t>(length) + 1,
      reinterpret_cast<std::intptr_t>(buffer.data()), kWindowTextTimeoutMs, &copied);
  if (read == platform::SendResult::kTimedOut) {
    return std::nullopt;
  }
  if (read != platform::SendResult::kAnswered) {
    return std::u16string();
  }
  buffer.resize(static_cast<std::size_t>(length));
  return UpToNul(buffer);
}

std::u16string GetWindowString(platform::Platform& platform, platform::Hwnd window) {
  return ReadWindowString(platform, window).value_or(std::u16string());
}

std::optional<std::u16string> GetWinampTitle(platform::Platform& platform) noexcept {
  try {
    return ReadWindowString(platform, FindWinamp(platform));
  } catch (...) {
    return std::u16string();
  }
}

namespace {

// The dialog's first six edit fields, or nothing while it is not ready.
bool FindFields(platform::Platform& platform, platform::Hwnd* dialog,
                std::array<platform::Hwnd, 6>* fields) {
  *dialog = platform.windows.FindWindow(kFileInfoClass, kFileInfoTitle);
  if (*dialog == 0) {
    return false;
  }
  platform::Hwnd previous = 0;
  for (auto& field : *fields) {
    field = platform.windows.FindWindowEx(*dialog, previous, u"Edit", nullptr);
    if (field == 0) {
      return false;
    }
    previous = field;
  }
  return true;
}

}  // namespace

void ReadWinampTagInfo(platform::Platform& platform, FrmWinamp& store) {
  if (FindWinamp(platform) == 0) {
    return;
  }
  platform.windows.PostMessage(FindWinamp(platform), platform::kWmCommand, kFileInfoCommand, 0);

  platform::Hwnd dialog = 0;
  std::array<platform::Hwnd, 6> fields{};
  BoundedWait wait(platform, kFileInfoWaitMs);
  for (;;) {
    platform.messagePump.DispatchPending();
    if (FindFields(platform, &dialog, &fields)) {
      break;
    }
    if (wait.Expired()) {
      return;
    }
    wait.Pause();
  }

  store.songTitle = SingleLine(GetWindowString(platform, fields[1]));
  store.songArtist = SingleLine(GetWindowString(platform, fields[2]));
  store.songAlbum = SingleLine(GetWindowString(platform, fields[3]));

  platform.messagePump.DispatchPending();
  platform.windows.PostMessage(dialog, platform::kWmClose, 0, 0);
}

}  // namespace tb
