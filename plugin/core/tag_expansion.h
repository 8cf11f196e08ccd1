// The tags the plug-in answers when the host expands a text: the song that
// Windows Media Player's publishing plug-in keeps in the registry, and the
// song that the Winamp reader last copied.
#pragma once

#include <string>

#include "common/current_metadata.h"

namespace tb {

class Plugin;

// "(!XWMPTITLE)", "(!XWMPARTIST)", "(!XWMPALBUM)", "(!XWMPDURATION)",
// "(!XWPTITLE)", "(!XWPARTIST)" and "(!XWPALBUM)", compared as a whole
// without regard to case. Answers true and sets sResult to the tag's text
// (a single blank when it is empty, always on one line); answers false and
// leaves sResult alone for any other tag.
bool ParseTag(Plugin& plugin, const std::u16string& sTag, std::u16string& sResult);

}  // namespace tb
