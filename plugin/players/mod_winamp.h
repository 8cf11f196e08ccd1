// All access to Winamp's windows: finding the player, reading window texts,
// and copying the current song's title, artist and album out of its
// file-information dialog.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "plugin/base/frm_winamp.h"

namespace tb {

inline constexpr char16_t kWinampWindowClass[] = u"Winamp v1.x";
inline constexpr char16_t kStudioWindowClass[] = u"STUDIO";
inline constexpr char16_t kMusicMatchWindowClass[] = u"mmjb:mainwnd";
inline constexpr char16_t kFileInfoClass[] = u"#32770";
inline constexpr char16_t kFileInfoTitle[] = u"MPEG file info box + ID3 tag editor";
inline constexpr std::uintptr_t kFileInfoCommand = 40188;

// How long a window may take to answer for its text. A player that does
// not answer in time is busy, not stopped: the tick leaves everything as it
// is and reads again on the next one.
inline constexpr std::uint32_t kWindowTextTimeoutMs = 100;
// The most of a window's text that is read. A window's answer to
// WM_GETTEXTLENGTH is only an upper bound, and a window that claims
// gigabytes must not make the host's process allocate them; every real
// title and field is far shorter.
inline constexpr std::intptr_t kWindowTextMaxLength = 65535;
// How long to wait for the file-information dialog and its fields; when it
// does not come, the song fields keep their values and the name change goes
// on.
inline constexpr std::uint32_t kFileInfoWaitMs = 1000;

// A looked-up window counts as present when its handle is not 0. (Taken as
// a signed number, a handle with its top bit set would read as absent, and
// the name would be restored while the player plays.)
bool IsPresent(platform::Hwnd window);

// The handle of a window of class "Winamp v1.x", or 0.
platform::Hwnd FindWinamp(platform::Platform& platform);

// The window's text, read with WM_GETTEXTLENGTH and WM_GETTEXT within
// kWindowTextTimeoutMs each; nothing when the window did not answer in
// time, empty for no window or one that is gone. The text ends at its first
// NUL, and after kWindowTextMaxLength characters.
std::optional<std::u16string> ReadWindowString(platform::Platform& platform, platform::Hwnd window);
// The same, with a window that does not answer in time read as empty.
std::u16string GetWindowString(platform::Platform& platform, platform::Hwnd window);

// The "Winamp v1.x" window's title: nothing when Winamp did not answer in
// time; any other failure gives the empty string.
std::optional<std::u16string> GetWinampTitle(platform::Platform& platform) noexcept;

// Opens Winamp's file-information dialog and copies its 2nd, 3rd and 4th
// edit fields into the store's song title, artist and album (each on one
// line), then closes it. Waits at most kFileInfoWaitMs for the dialog, letting the
// thread process messages meanwhile.
void ReadWinampTagInfo(platform::Platform& platform, FrmWinamp& store);

}  // namespace tb
