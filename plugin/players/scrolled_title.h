// Winamp's title scrolled in the taskbar. With that option on, Winamp's
// main window shows its ordinary title followed by " *** ", rotated by one
// more character several times a second: "7. Band - Song - Winamp *** ",
// then "7. Band - Song - Winamp *** " less its first character with that
// character at the end, and so on, for a paused or stopped player too.
#pragma once

#include <cstddef>
#include <string>

namespace tb {

inline constexpr char16_t kScrollSeparator[] = u" *** ";
inline constexpr std::size_t kMostScrollCuts = 32;

// The ordinary title that a scrolled title was made from; any other title
// as it stands.
//
// Each place where " *** " stands in the title read as a ring (the
// separator may be cut at the title's ends) gives the ordinary title that
// follows it round the ring. One that ends as Winamp's own titles do
// (" - Winamp", or that and one bracketed word such as " [Paused]") is the
// ordinary title; failing that, a title that itself ends so is taken as it
// stands, since a song's own title may hold " *** "; failing that, any such
// place gives it. Of several, the least in character order is taken, so
// every turn of one title gives the same ordinary title. A title with more
// than kMostScrollCuts such places is taken as it stands.
std::u16string OrdinaryTitle(const std::u16string& title);

}  // namespace tb
