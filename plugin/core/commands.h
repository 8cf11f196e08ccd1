// The slash commands the plug-in publishes: "/xtbgoptions" and "/xtbgabout"
// show the options dialog and the about box; "/xtbgon" and "/xtbgoff" switch
// the feature on and off.
#pragma once

#include <string>

namespace tb {

class Plugin;

inline constexpr char16_t kInfoCaption[] = u"Info";

// Answers true for the plug-in's four commands, written in any case, and
// false (sResult untouched) for anything else. The switch is written before
// any box is shown, so ticks that run while it is open see the new value.
// A failure (a setting the registry refuses) is thrown to the caller.
bool ParseCommand(Plugin& plugin, const std::u16string& sCommand, std::u16string& sResult);

}  // namespace tb
