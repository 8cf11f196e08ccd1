#include "plugin/core/commands.h"

#include "common/settings.h"
#include "common/text.h"
#include "plugin/core/plugin.h"
#include "plugin/dialogs/frm_about.h"
#include "plugin/dialogs/frm_options.h"

namespace tb {
namespace {

constexpr std::uint32_t kInformation = platform::kMbOk | platform::kMbIconInformation;

}  // namespace

bool ParseCommand(Plugin& plugin, const std::u16string& sCommand, std::u16string& sResult) {
  platform::Platform& platform = plugin.Platform();
  const std::u16string command = LowerCase(sCommand);

  if (EqualsIgnoringCase(command, u"/xtbgoptions")) {
    FrmOptions form(platform.registry, platform.messageBoxes);
    form.Load();
    if (!plugin.DialogPort().ShowOptions(platform.windows.GetActiveWindow(), form)) {
      throw DialogError("the options dialog could not be shown");
    }
    if (form.failure) {
      std::rethrow_exception(form.failure);
    }
    sResult.clear();
    return true;
  }
  if (EqualsIgnoringCase(command, u"/xtbgabout")) {
    FrmAbout form(AboutDesktop{platform.registry, platform.shell, platform.files,
                               platform.processes, platform.messageBoxes, platform.windows,
                               platform.module});
    form.Load();
    if (!plugin.DialogPort().ShowAbout(platform.windows.GetActiveWindow(), form)) {
      throw DialogError("the about box could not be shown");
    }
    return true;
  }
  if (EqualsIgnoringCase(command, u"/xtbgon")) {
    WriteSetting(platform.registry, kOnOff, kSwitchOn);
    platform.messageBoxes.MessageBox(platform.windows.GetActiveWindow(), u"Tunebadge Enabled!!",
                                     kInfoCaption, kInformation);
    return true;
  }
  if (EqualsIgnoringCase(command, u"/xtbgoff")) {
    WriteSetting(platform.registry, kOnOff, kSwitchOff);
    if (ReadSetting(platform.registry, kStatus) == kStatusPlaying) {
      const int answer = platform.messageBoxes.MessageBox(
          platform.windows.GetActiveWindow(),
          u"Tunebadge is still active!!\r\nWould you like to change your name back before "
          u"disabeling?",
          kInfoCaption, platform::kMbYesNo);
      if (answer == platform::kIdYes) {
        plugin.SendTextForm().changeNameBack();
      }
    } else {
      platform.messageBoxes.MessageBox(platform.windows.GetActiveWindow(), u"Tunebadge Disabled!!",
                                       kInfoCaption, kInformation);
    }
    return true;
  }
  return false;
}

}  // namespace tb
