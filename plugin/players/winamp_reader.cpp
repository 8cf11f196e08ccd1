#include <optional>

#include "common/settings.h"
#include "plugin/players/mod_timer.h"
#include "plugin/players/mod_winamp.h"
#include "plugin/players/readers.h"
#include "plugin/players/scrolled_title.h"

namespace tb {

bool IsIdleTitle(const std::u16string& title, const std::u16string& stoppedMarker,
                 const std::u16string& pausedMarker) {
  const std::size_t length = title.size();
  const auto endsWithMarker = [&](const std::u16string& marker) {
    return length >= marker.size() + 1 &&
           title.compare(length - marker.size() - 1, marker.size(), marker) == 0;
  };
  return title.empty() || endsWithMarker(stoppedMarker) || endsWithMarker(pausedMarker);
}

namespace {

// Winamp's title as the reader works on it, for every use: the ordinary
// title, also while Winamp scrolls it; nothing when Winamp did not answer in
// time.
std::optional<std::u16string> ReadOrdinaryTitle(platform::Platform& platform) {
  std::optional<std::u16string> title = GetWinampTitle(platform);
  if (title) {
    *title = OrdinaryTitle(*title);
  }
  return title;
}

}  // namespace

void ModTimer::ReadWinamp() {
  const std::optional<std::u16string> read = ReadOrdinaryTitle(platform_);
  if (!read) {
    // A busy player is no news: the name, the flag and the last title stay
    // as they are until a tick gets an answer.
    return;
  }
  winampTitle_ = *read;
  const std::u16string title = winampTitle_;
  if (IsIdleTitle(title, u"Stopped", u"Paused") && winampChanged_ == Changed::kYes) {
    winampChanged_ = Changed::kNo;
    frmSendText_.changeNameBack(kPlayerWinamp);
    // The restore let the thread process messages: the title is read
    // afresh, and stays the one restored on when Winamp does not answer.
    winampLastTitle_ = ReadOrdinaryTitle(platform_).value_or(title);
    return;
  }
  // The title read above serves the comparison and the last title: no
  // message has been processed since, so a second reading could only give
  // the same. After a restore it is read afresh, as the restore lets the
  // thread process messages.
  if (title == winampLastTitle_) {
    return;
  }
  // The last title is stored before the dialog wait, so a tick that runs
  // inside the wait sees no change; the song fields are filled before the
  // name change, so the tags the host expands find the new song.
  winampLastTitle_ = title;
  ReadWinampTagInfo(platform_, frmWinamp_);
  // The dialog wait let the thread process messages (the user may have
  // chosen another player meanwhile): the name change reads Player afresh.
  frmSendText_.changeName(ReadSettingIfAnswered(platform_.registry, kPlayer), title);
  winampChanged_ = Changed::kYes;
}

}  // namespace tb
