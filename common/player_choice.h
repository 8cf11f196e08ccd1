// The players the plug-in can watch, as the options dialog and the installer
// offer them and as the dialog's banner shows them; kNone while no player is
// chosen.
#pragma once

namespace tb {

enum class PlayerChoice { kNone, kWinamp, kMusicMatch, kWindowsMedia };

}  // namespace tb
