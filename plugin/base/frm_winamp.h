// The now-playing store: what the player readers found of the current song,
// where the name change and the tags read it. One instance per load of the
// library; never persisted. Each field keeps its value until its reader
// runs again; switching players clears nothing.
#pragma once

#include <string>

namespace tb {

struct FrmWinamp {
  // MUSICMATCH Jukebox's song text ("SONG - ARTIST"), which the name change
  // appends to the player's template. Until the reader first runs it holds
  // the text the old form's label started with.
  std::u16string musicMatchSong = u"Label2";
  // Title, artist and album from Winamp's file-information dialog; empty
  // until the first read, so that the Winamp tags expand to a blank.
  std::u16string songTitle;
  std::u16string songArtist;
  std::u16string songAlbum;
};

}  // namespace tb
