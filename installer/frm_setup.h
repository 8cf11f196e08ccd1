// The installer's one window, "Tunebadge Setup": three option buttons for the
// player, a progress strip, and the picture buttons unInstall, Install and
// Cancel. This is its behaviour; installer/win32 shows it.
#pragma once

#include <functional>
#include <string>

#include "common/player_choice.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/message_boxes.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace tb::setup {

inline constexpr char16_t kSetupCaption[] = u"Tunebadge Setup";
// The program's title, the caption of its own reports.
inline constexpr char16_t kProgramTitle[] = u"Plugin Installer";

inline constexpr char16_t kCloseMessengerText[] = u"Please make sure msn is closed";
inline constexpr char16_t kPlayerHint[] = u"You can always changes this by typing /xtbgoptions";

inline constexpr char16_t kSuccessCaption[] = u"Succes!";
inline constexpr char16_t kSuccessText[] = u"Installation completed";
inline constexpr char16_t kInfoCaption[] = u"Info";
inline constexpr char16_t kPrivacyText[] =
    u"Make sure that Tools-->options-->privacy and then the option:\r\n"
    u"Only people on my allow list can see my status and send me messages is disabeld "
    u"(else it won't work properly)";
inline constexpr char16_t kRestartText[] = u"Please restart msn messenger";
inline constexpr char16_t kUninstalledText[] = u"Uninstall Succesvol";
inline constexpr char16_t kErrorCaption[] = u"Error";
inline constexpr char16_t kUninstallFailedText[] = u"Uninstall Failed";

// What the installer needs of the desktop.
struct SetupDesktop {
  platform::Registry& registry;
  platform::Files& files;
  platform::Processes& processes;
  platform::Environment& environment;
  platform::Shell& shell;
  platform::MessageBoxes& messageBoxes;
};

class FrmSetup {
 public:
  explicit FrmSetup(SetupDesktop desktop) : desktop_(desktop) {}

  // Asks the user to close Messenger, then counts the visit.
  void Load();
  // Install: ends the installer when done, or when a copy or a start of
  // regsvr32 fails (with a report naming it). When the plug-in folder or
  // Tunebadge.dll is missing it says so, changes nothing and stays open.
  void Install();
  // Uninstall: the window stays open.
  void Uninstall();
  // Cancel: ends the installer.
  void Cancel() { unloaded = true; }

  // What the controls show. At most one player's option button is
  // selected; none is when the window opens.
  PlayerChoice selected = PlayerChoice::kNone;
  // The progress strip shows the full bar once the files are placed.
  bool progressFull = false;
  bool unloaded = false;
  // The window, owner of the boxes; set by the view.
  platform::Hwnd window = 0;
  // Called when the strip has become full, so that the view shows it before
  // the closing messages.
  std::function<void()> progressChanged;

 private:
  void InstallFrom(const std::u16string& sourceDir, const std::u16string& pluginDir);
  void CopyForms(const std::u16string& sourceDir);
  void Register(const std::u16string& path);
  void WritePlayer();
  int Report(const std::u16string& text, const std::u16string& caption, std::uint32_t type);
  [[nodiscard]] bool Exists(const std::u16string& path) const;

  SetupDesktop desktop_;
};

}  // namespace tb::setup
