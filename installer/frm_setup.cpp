#include "installer/frm_setup.h"

#include "common/com_identity.h"
#include "common/mod_reg.h"
#include "common/settings.h"
#include "installer/setup_paths.h"
#include "installer/setup_routines.h"
#include "platform/windowing.h"

namespace tb::setup {
namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

std::u16string Quoted(const std::u16string& text) { return u"\"" + text + u"\""; }

}  // namespace

int FrmSetup::Report(const std::u16string& text, const std::u16string& caption,
                     std::uint32_t type) {
  return desktop_.messageBoxes.MessageBox(window, text, caption, type);
}

bool FrmSetup::Exists(const std::u16string& path) const {
  return desktop_.files.GetFileAttributes(path) != platform::kInvalidFileAttributes;
}

void FrmSetup::Load() {
  Report(kCloseMessengerText, kProgramTitle, platform::kMbOk);
  OpenHitCounter(desktop_.shell, HitCounterAddress(kHitCounterHost));
}

void FrmSetup::Install() {
  // Nothing is changed before both the plug-in folder and the plug-in
  // library are known to be there: without them every path would be wrong.
  const std::u16string pluginDir =
      ReadRegistryString(desktop_.registry, kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue);
  if (pluginDir.empty()) {
    Report(
        u"MsgPlus's plug-in folder is not known: the value \"PluginDir\" under "
        u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Pelorin\\MsgPlus2 is missing or empty. "
        u"Please install MsgPlus first. Nothing has been changed.",
        kProgramTitle, platform::kMbOk | platform::kMbIconStop);
    return;
  }
  const std::u16string sourceDir = FolderOf(desktop_.processes.GetModuleFileName());
  if (!Exists(sourceDir + u"\\" + kPluginFile)) {
    Report(u"\"Tunebadge.dll\" is not in " + Quoted(sourceDir) +
               u". Please unpack the whole distribution and start the installer from "
               u"there. Nothing has been changed.",
           kProgramTitle, platform::kMbOk | platform::kMbIconStop);
    return;
  }
  try {
    InstallFrom(sourceDir, pluginDir);
  } catch (const InstallError& error) {
    // The steps done stay done.
    Report(error.Description(), kProgramTitle, platform::kMbOk | platform::kMbIconStop);
  }
  unloaded = true;
}

void FrmSetup::InstallFrom(const std::u16string& sourceDir, const std::u16string& pluginDir) {
  auto& registry = desktop_.registry;
  DeleteRegistryKey(registry, kHkeyCurrentUser, kSettingsKeyPath);
  // Unpacked into the plug-in folder itself, the distribution's library is
  // the one in place: removing the old one would delete it, and it cannot
  // be copied onto itself.
  const bool inPlace = SameFolder(sourceDir, pluginDir);
  if (!inPlace) {
    RemoveOldPlugin(registry, desktop_.files);
    CopyWholeFile(desktop_.files, sourceDir + u"\\" + kPluginFile, pluginDir + u"\\" + kPluginFile);
  }
  const bool publisher = Exists(sourceDir + u"\\" + kPublisherSource);
  if (publisher) {
    CopyWholeFile(desktop_.files, sourceDir + u"\\" + kPublisherSource,
                  pluginDir + u"\\" + kPublisherFile);
  } else {
    Report(
        u"Windows Media Player support needs its publishing plug-in, \"data.cab\", which "
        u"is not in " +
            Quoted(sourceDir) +
            u". Tunebadge is installed without it; Winamp and MusicMatch Jukebox work as "
            u"they are.",
        kInfoCaption, platform::kMbOk | platform::kMbIconInformation);
  }
  CopyForms(sourceDir);

  Register(pluginDir + u"\\" + kPluginFile);
  if (publisher) {
    Register(pluginDir + u"\\" + kPublisherFile);
  }
  WriteRegistryString(registry, kHkeyLocalMachine, kRegisteredPluginsKey, kPluginDisplayName,
                      kProgId);
  progressFull = true;
  if (progressChanged) {
    progressChanged();
  }
  WritePlayer();

  CreateRegistryKey(registry, kHkeyLocalMachine, kUiPluginKey);
  WriteRegistryDword(registry, kHkeyLocalMachine, kUiPluginKey, kCapabilitiesValue, kCapabilities);
  WriteRegistryString(registry, kHkeyLocalMachine, kUiPluginKey, kDescriptionValue,
                      kDescriptionText);
  WriteRegistryString(registry, kHkeyLocalMachine, kUiPluginKey, kFriendlyNameValue,
                      kFriendlyNameText);

  Report(kSuccessText, kSuccessCaption, platform::kMbOk | platform::kMbIconInformation);
  Report(kPrivacyText, kInfoCaption, platform::kMbOk | platform::kMbIconStop);
  Report(kRestartText, kInfoCaption, platform::kMbOk | platform::kMbIconInformation);
}

void FrmSetup::CopyForms(const std::u16string& sourceDir) {
  // The Forms 2.0 library is shared by other programs: one already in the
  // system folder stays as it is. Without WINDIR the folder is not known.
  const std::u16string source = sourceDir + u"\\" + kFormsSource;
  const auto windir = desktop_.environment.GetEnvironmentVariable(kWindirVariable);
  if (!windir || windir->empty() || !Exists(source)) {
    return;
  }
  const std::u16string destination = *windir + kSystemSubfolder + u"\\" + kFormsFile;
  if (!Exists(destination)) {
    CopyWholeFile(desktop_.files, source, destination);
  }
}

void FrmSetup::Register(const std::u16string& path) {
  const std::u16string commandLine = u"regsvr32 " + Quoted(path);
  if (!desktop_.processes.StartProcess(commandLine, platform::kSwHide)) {
    throw InstallError(u"Cannot start " + commandLine + u".");
  }
}

void FrmSetup::WritePlayer() {
  // The settings store's own write; like every registry call of the
  // installer, a refused one is skipped silently.
  const char16_t* const player = selected == PlayerChoice::kWinamp         ? kPlayerWinamp
                                 : selected == PlayerChoice::kMusicMatch   ? kPlayerMusicMatch
                                 : selected == PlayerChoice::kWindowsMedia ? kPlayerWindowsMedia
                                                                           : nullptr;
  if (player == nullptr) {
    return;
  }
  try {
    WriteSetting(desktop_.registry, kPlayer, player);
  } catch (const SettingWriteError&) {
  }
}

void FrmSetup::Uninstall() {
  const auto gone = [](platform::Status status) {
    return status == platform::kErrorSuccess || status == platform::kErrorFileNotFound;
  };
  if (!gone(DeleteRegistryKey(desktop_.registry, kHkeyLocalMachine, kUiPluginKey)) ||
      !gone(DeleteRegistryValue(desktop_.registry, kHkeyLocalMachine, kRegisteredPluginsKey,
                                kPluginDisplayName))) {
    Report(kUninstallFailedText, kErrorCaption, platform::kMbOk | platform::kMbIconStop);
    return;
  }
  Report(kUninstalledText, kInfoCaption, platform::kMbOk | platform::kMbIconInformation);
}

}  // namespace tb::setup
