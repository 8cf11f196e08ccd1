// What the player readers share: the idle test of a player's title, and the
// text replacement that cleans MUSICMATCH Jukebox's title.
#pragma once

#include <string>

namespace tb {

// A title is idle when it is empty, or when the marker word ends one
// character before its end ("... Stopped]", "... Paused]"); a title shorter
// than a marker plus one character does not match that marker. Exact and
// case-sensitive.
bool IsIdleTitle(const std::u16string& title, const std::u16string& stoppedMarker,
                 const std::u16string& pausedMarker);

// Replaces occurrences of `find`, scanning positions up to the text's
// first length, each after the last replacement (so a scan can look inside
// an inserted replacement). A `find` longer than the text changes nothing.
std::u16string ReplaceText(std::u16string text, const std::u16string& find,
                           const std::u16string& replacement);

}  // namespace tb
