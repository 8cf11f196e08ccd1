// The installer window's class and its controls' identifiers, for the view
// and for whoever drives the window from outside.
#pragma once

namespace tb::setup::controls {

inline constexpr wchar_t kWindowClass[] = L"TunebadgeSetup";
inline constexpr int kOption1 = 101;  // "Winamp"
inline constexpr int kOption2 = 102;  // "MusicMatch Jukebox"
inline constexpr int kOption3 = 103;  // "Windows Media Player"
inline constexpr int kLabel2 = 104;
inline constexpr int kImage2 = 105;  // the progress strip
inline constexpr int kImage5 = 106;  // unInstall
inline constexpr int kImage3 = 107;  // Install
inline constexpr int kImage4 = 108;  // Cancel

}  // namespace tb::setup::controls
