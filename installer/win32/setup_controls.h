// The installer window's class and its controls' identifiers, for the view
// and for whoever drives the window from outside.
#pragma once

namespace tb::setup::controls {

inline constexpr wchar_t kWindowClass[] = L"TunebadgeSetup";
inline constexpr int kWinamp = 101;
inline constexpr int kMusicMatch = 102;
inline constexpr int kWindowsMedia = 103;
inline constexpr int kPlayerHint = 104;
inline constexpr int kProgress = 105;
inline constexpr int kUninstall = 106;
inline constexpr int kInstall = 107;
inline constexpr int kCancel = 108;

}  // namespace tb::setup::controls
