#include <optional>

#include "common/settings.h"
#include "common/text.h"
#include "plugin/core/plugin.h"
#include "plugin/players/mod_winamp.h"
#include "plugin/players/readers.h"

namespace tb {
namespace {

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

void ReadMusicMatch(Plugin& plugin) {
  platform::Platform& platform = plugin.Platform();
  ModTimer& state = plugin.modTimer();
  FrmWinamp& store = plugin.frmWinamp();

  const std::optional<std::u16string> title =
      ReadWindowString(platform, platform.windows.FindWindow(kMusicMatchWindowClass, nullptr));
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
  text = ReplaceText(text, store.Text2 + u" by", u" -");
  text = ReplaceText(text, kPlayerSuffix, u"");
  store.Label2 = SingleLine(text);

  const bool idle = store.Label2 == kIdleText || store.Label2.empty();
  if (idle && state.MusicMatchChanged == kChanged) {
    state.MusicMatchChanged = kNotChanged;
    plugin.frmSendText().changeNameBack(kPlayerMusicMatch);
    state.MusicMatchLastTitle = store.Label2;
    return;
  }
  if (store.Label2 != state.MusicMatchLastTitle) {
    state.MusicMatchLastTitle = store.Label2;
    plugin.frmSendText().changeName(kPlayerMusicMatch);
    state.MusicMatchChanged = kChanged;
  }
}

}  // namespace tb
