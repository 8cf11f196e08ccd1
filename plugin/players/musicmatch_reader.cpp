#include <optional>

#include "common/settings.h"
#include "common/text.h"
#include "plugin/players/mod_timer.h"
#include "plugin/players/mod_winamp.h"
#include "plugin/players/readers.h"

namespace tb {
namespace {

// The player's title puts the song in double quotes: "SONG" by ARTIST.
constexpr char16_t kQuoteAndBy[] = u"\" by";
constexpr char16_t kPlayerSuffix[] = u" - MUSICMATCH Jukebox";
// The player's name once the first character is cut off: the idle text.
constexpr char16_t kIdleText[] = u"USICMATCH Jukebox";

}  // namespace

std::u16string ReplaceText(std::u16string text, const std::u16string& find,
                           const std::u16string& replacement) {
  if (find.size() > text.size()) {
    return text;
  }
  const std::size_t firstLength = text.size();
  for (std::size_t i = 0; i < firstLength && i < text.size(); ++i) {
    if (text.compare(i, find.size(), find) == 0) {
      text.replace(i, find.size(), replacement);
    }
  }
  return text;
}

void ModTimer::ReadMusicMatch() {
  const std::optional<std::u16string> title =
      ReadWindowString(platform_, platform_.windows.FindWindow(kMusicMatchWindowClass, nullptr));
  if (!title) {
    // A busy player is no news: everything stays as it is for this tick.
    return;
  }
  std::u16string text = *title;
  // The title starts with a quote before the song name; the first character
  // goes, whatever it is.
  if (!text.empty()) {
    text.erase(0, 1);
  }
  text = ReplaceText(text, kQuoteAndBy, u" -");
  text = ReplaceText(text, kPlayerSuffix, u"");
  std::u16string& song = frmWinamp_.musicMatchSong;
  song = SingleLine(text);

  const bool idle = song == kIdleText || song.empty();
  if (idle && musicMatchChanged_ == Changed::kYes) {
    musicMatchChanged_ = Changed::kNo;
    frmSendText_.changeNameBack(kPlayerMusicMatch);
    musicMatchLastTitle_ = song;
    return;
  }
  if (song != musicMatchLastTitle_) {
    musicMatchLastTitle_ = song;
    frmSendText_.changeName(kPlayerMusicMatch, song);
    musicMatchChanged_ = Changed::kYes;
  }
}

}  // namespace tb
