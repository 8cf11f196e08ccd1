// Winamp's title scrolled in the taskbar. With that option on, Winamp's
// main window shows its ordinary title followed by " *** ", rotated by one
// more character several times a second: "7. Band - Song - Winamp *** ",
// then "7. Band - Song - Winamp *** " less its first character with that
// character at the end, and so on, for a paused or stopped player too.
#pragma once

#include <string>

namespace tb {

inline constexpr char16_t kScrollSeparator[] = u" *** ";

// The ordinary title that a scrolled title was made from; any other title
// as it stands.
//
// A title that ends as Winamp's own titles do (" - Winamp", or that and one
// bracketed word such as " [Paused]") is ordinary, whatever it holds: a
// song's own title may contain " *** ". Otherwise, each place where
// " *** " stands in the title read as a ring (the separator may be cut at
// the title's ends) gives the ordinary title that follows it round the
// ring. Those that end as Winamp's titles do are preferred; of the rest the
// least in character order is taken, so every rotation of one title gives
// the same ordinary title. A title with more than kMostScrollCuts such
// places is taken as it stands.
std::u16string OrdinaryTitle(const std::u16string& title);

inline constexpr std::size_t kMostScrollCuts = 32;

}  // namespace tb
