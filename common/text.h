// Small text routines shared by the plug-in's parts. Lengths and positions
// count UTF-16 units, as automation strings do.
#pragma once

#include <string>

namespace tb {

// The name marker: the no-break space that separates the ordinary display
// name from the now-playing part.
inline constexpr char16_t kNameMarker = u'\u00a0';

// The part of `text` before the first occurrence of `separator`: all of
// `text` when the separator is empty or does not occur. Exact and
// case-sensitive.
std::u16string PartBefore(const std::u16string& text, const std::u16string& separator);

// Whole-text comparison that ignores the case of ASCII letters.
bool EqualsIgnoringCase(const std::u16string& a, const std::u16string& b);

// ASCII letters in lower case, everything else unchanged.
std::u16string LowerCase(const std::u16string& text);

// A song text on one line: each line break (CR, LF, CR LF, and the Unicode
// line and paragraph separators) becomes one blank, so a title cannot add a
// line, or a command, to what the host sends.
std::u16string SingleLine(const std::u16string& text);

// The text up to its first NUL.
std::u16string UpToNul(const std::u16string& text);

// The text for an error message: ASCII as it is, every other unit as '?'.
std::string Narrow(const std::u16string& text);

}  // namespace tb
