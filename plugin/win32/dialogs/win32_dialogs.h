// The plug-in's dialogs on real Windows: the options dialog and the about box as
// modal dialogs of the library. Each is a thin view over its portable form:
// it shows the form's fields in real controls and hands the user's actions
// to the form's handlers.
#pragma once

#include "plugin/dialogs/dialogs.h"

namespace tb::win32 {

// The controls' identifiers, for whoever looks at the dialogs from outside.
namespace controls {
// The options dialog, in tab order.
inline constexpr int kSave = 1001;            // Command1, "Save!!!"
inline constexpr int kOptionsLabel = 1002;    // Label3
inline constexpr int kWinamp = 1003;          // Option3
inline constexpr int kMusicMatch = 1004;      // Option4
inline constexpr int kWindowsMedia = 1005;    // Option5
inline constexpr int kMusicMatchText = 1006;  // Text5
inline constexpr int kWinampText = 1007;      // Text3
inline constexpr int kMediaText = 1008;       // Text6
inline constexpr int kHelp = 1009;            // Command2, "Help"
// The about box.
inline constexpr int kLogo = 2001;        // Image1
inline constexpr int kTitle = 2002;       // LblTitle
inline constexpr int kVersion = 2003;     // LblVersion
inline constexpr int kLevels = 2004;      // Image12
inline constexpr int kRule = 2005;        // Line1
inline constexpr int kInfoLabel = 2006;   // Label2
inline constexpr int kDeveloper = 2007;   // LbDevelover
inline constexpr int kEmail = 2008;       // LbEmail
inline constexpr int kSite = 2009;        // LbPhone
inline constexpr int kTagline = 2010;     // Label1
inline constexpr int kOk = 1;             // Command2, "OK" (IDOK: Enter presses it)
inline constexpr int kSystemInfo = 2011;  // Command3
// The about box's one-second timer (Timer1).
inline constexpr unsigned kAboutTimer = 1;
}  // namespace controls

class Win32Dialogs final : public Dialogs {
 public:
  // `instance` is the module the dialogs belong to (the library's HINSTANCE).
  explicit Win32Dialogs(void* instance) : instance_(instance) {}

  bool ShowOptions(platform::Hwnd owner, FrmOptions& form) override;
  bool ShowAbout(platform::Hwnd owner, FrmAbout& form) override;

 private:
  void* instance_;
};

}  // namespace tb::win32
