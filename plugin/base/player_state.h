// What the player readers remember between ticks and leave for tag expansion
// and the name change: the module state of modTimer and the now-playing store
// frmWinamp. One instance of each per load of the library; never persisted.
#pragma once

#include <string>

namespace tb {

// The flags are texts, not Booleans: "1" means the display name shows a song
// found by that reader; anything else, the initial empty text included, means
// it does not.
inline constexpr char16_t kChanged[] = u"1";
inline constexpr char16_t kNotChanged[] = u"0";

struct ModTimer {
  std::u16string WinampChanged;
  std::u16string StudioChanged;
  std::u16string MusicMatchChanged;
  std::u16string WinampLastTitle;
  std::u16string StudioLastTitle;
  std::u16string MusicMatchLastTitle;
  std::u16string MediaPlayerLastTitle;
};

// The now-playing store. Its fields start with the values the hidden form's
// controls were given, and keep each value until their writer runs again.
struct FrmWinamp {
  std::u16string Text1 = u"Text1";
  std::u16string Label1 = u"Label1";
  std::u16string Label2 = u"Label2";
  std::u16string Label3 = u"Label3";
  std::u16string txtTitle;
  std::u16string txtArtist;
  std::u16string txtAlbum;
  // One double quote, never written: MUSICMATCH Jukebox's search text starts
  // with it.
  const std::u16string Text2 = u"\"";
};

}  // namespace tb
