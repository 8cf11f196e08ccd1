// The player readers that the poll tick runs: each compares the player's
// current title with the last one it acted on, asks for a name change on a
// new song and for the ordinary name when the player stops or pauses.
#pragma once

#include <string>

namespace tb {

class Plugin;

// A title is idle when it is empty, or when the marker word ends one
// character before its end ("... Stopped]", "... Paused]"); a title shorter
// than a marker plus one character does not match that marker. Exact and
// case-sensitive.
bool IsIdleTitle(const std::u16string& title, const std::u16string& stoppedMarker,
                 const std::u16string& pausedMarker);

// The "Winamp v1.x" window: markers "Stopped" and "Paused"; song fields from
// the file-information dialog.
void ReadWinamp(Plugin& plugin);

// The "STUDIO" window: markers "stopped" and "paused"; the title alone, cut
// to 255 characters.
void ReadStudio(Plugin& plugin);

// MUSICMATCH Jukebox's main window: its title, cleaned into "SONG - ARTIST".
void ReadMusicMatch(Plugin& plugin);

// Windows Media Player: the "Title" that its publishing plug-in keeps in the
// registry; the setting Status serves as the changed-flag.
void ReadMediaPlayer(Plugin& plugin);

// Replaces occurrences of `find`, scanning positions up to the text's
// first length, each after the last replacement (so a scan can look inside
// an inserted replacement). A `find` longer than the text changes nothing.
std::u16string ReplaceText(std::u16string text, const std::u16string& find,
                           const std::u16string& replacement);

}  // namespace tb
