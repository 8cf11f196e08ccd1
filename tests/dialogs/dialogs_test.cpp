#include <gtest/gtest.h>

#include "common/settings.h"
#include "platform/sim/desktop.h"
#include "plugin/core/commands.h"
#include "plugin/core/nick.h"
#include "plugin/core/plugin.h"
#include "plugin/dialogs/frm_about.h"
#include "plugin/dialogs/frm_options.h"
#include "tools/sandbox/sim_dialogs.h"

namespace tb {
namespace {

using platform::kHkeyLocalMachine;

TEST(FrmOptions, LoadsTheStoredPlayerWithItsBannerAndBox) {
  sim::SimDesktop desktop;
  WriteSetting(desktop.registry, kPlayer, kPlayerMusicMatch);
  WriteSetting(desktop.registry, kCurrentTagMMJ, u" mmj");
  FrmOptions form(desktop.registry, desktop.messageBoxes);
  form.Load();
  EXPECT_EQ(form.selected, PlayerChoice::kMusicMatch);
  EXPECT_EQ(form.banner, PlayerChoice::kMusicMatch);
  EXPECT_TRUE(form.TemplateOf(PlayerChoice::kMusicMatch).visible);
  EXPECT_FALSE(form.TemplateOf(PlayerChoice::kWinamp).visible ||
               form.TemplateOf(PlayerChoice::kWindowsMedia).visible);
  EXPECT_EQ(form.TemplateOf(PlayerChoice::kMusicMatch).text, u" mmj");

  form.Choose(PlayerChoice::kWindowsMedia);
  EXPECT_EQ(form.selected, PlayerChoice::kWindowsMedia);
  EXPECT_EQ(form.banner, PlayerChoice::kWindowsMedia);
  EXPECT_TRUE(form.TemplateOf(PlayerChoice::kWindowsMedia).visible);
  EXPECT_FALSE(form.TemplateOf(PlayerChoice::kMusicMatch).visible);
}

TEST(FrmOptions, AnUnknownPlayerSelectsNothingAndShowsTheFirstBox) {
  sim::SimDesktop desktop;
  WriteSetting(desktop.registry, kPlayer, u"Windows Media");
  FrmOptions form(desktop.registry, desktop.messageBoxes);
  form.Load();
  EXPECT_EQ(form.selected, PlayerChoice::kNone);
  EXPECT_EQ(form.banner, PlayerChoice::kNone);
  EXPECT_TRUE(form.TemplateOf(PlayerChoice::kWinamp).visible);
  EXPECT_FALSE(form.TemplateOf(PlayerChoice::kMusicMatch).visible ||
               form.TemplateOf(PlayerChoice::kWindowsMedia).visible);
}

TEST(FrmOptions, ARefusedSaveClosesTheDialogAndReachesTheHost) {
  sim::SimDesktop desktop;
  sandbox::SimDialogs dialogs(desktop);
  Plugin plugin(desktop.Platform(), dialogs);
  Nick nick(plugin);
  dialogs.Queue({scenario::DialogStep::kSelect, 0, u""});
  dialogs.Queue({scenario::DialogStep::kSave, 0, u""});
  desktop.faults.FailCall("RegSetValueExW", 2);
  std::u16string result = u"as passed";
  EXPECT_THROW(nick.ParseCommand(u"/xtbgoptions", u"", nullptr, result), SettingWriteError);
  EXPECT_EQ(result, u"as passed");
  EXPECT_EQ(ReadSetting(desktop.registry, kPlayer), u"") << "nothing after the refused write";
  EXPECT_EQ(desktop.registry.OpenHandles(), 0U);
}

TEST(Commands, ARefusedSwitchShowsNoBoxAndFailsTheCall) {
  sim::SimDesktop desktop;
  sandbox::SimDialogs dialogs(desktop);
  Plugin plugin(desktop.Platform(), dialogs);
  Nick nick(plugin);
  desktop.faults.FailCall("RegSetValueExW");
  std::u16string result;
  EXPECT_THROW(nick.ParseCommand(u"/xtbgoff", u"", nullptr, result), SettingWriteError);
  EXPECT_TRUE(desktop.messageBoxes.Shown().empty());
  EXPECT_EQ(ReadSetting(desktop.registry, kOnOff), u"1");
}

// Ticks that run while a box is open already see the new switch.
TEST(Commands, TheSwitchIsWrittenBeforeTheBoxOpens) {
  sim::SimDesktop desktop;
  sandbox::SimDialogs dialogs(desktop);
  Plugin plugin(desktop.Platform(), dialogs);
  Nick nick(plugin);
  std::u16string result;
  ASSERT_TRUE(nick.ParseCommand(u"/xtbgoff", u"", nullptr, result));
  ASSERT_EQ(desktop.faults.CountOf("MessageBoxW"), 1U);
  // The box was shown after the write: the last registry write came first.
  EXPECT_EQ(ReadSetting(desktop.registry, kOnOff), u"0");
  desktop.faults.KeepLog(true);
  ASSERT_TRUE(nick.ParseCommand(u"/xtbgon", u"", nullptr, result));
  const auto& log = desktop.faults.Log();
  const auto set = std::find(log.begin(), log.end(), "RegSetValueExW");
  const auto box = std::find(log.begin(), log.end(), "MessageBoxW");
  EXPECT_LT(set - log.begin(), box - log.begin());
}

TEST(GetKeyValue, ReadsStringsAndNumbersForReadingOnly) {
  sim::SimDesktop desktop;
  desktop.registry.PutString(kHkeyLocalMachine, u"SOFTWARE\\T", u"PATH", u"C:\\x.exe");
  desktop.registry.PutDword(kHkeyLocalMachine, u"SOFTWARE\\T", u"N", 0x0102ABCDU);
  desktop.registry.SetReadOnly(kHkeyLocalMachine, true);
  EXPECT_EQ(GetKeyValue(desktop.registry, kHkeyLocalMachine, u"SOFTWARE\\T", u"PATH"),
            u"C:\\x.exe");
  EXPECT_EQ(GetKeyValue(desktop.registry, kHkeyLocalMachine, u"SOFTWARE\\T", u"N"), u"&h0102ABCD");
  EXPECT_FALSE(GetKeyValue(desktop.registry, kHkeyLocalMachine, u"SOFTWARE\\T", u"None"));
  EXPECT_FALSE(GetKeyValue(desktop.registry, kHkeyLocalMachine, u"SOFTWARE\\U", u"PATH"));
  EXPECT_EQ(desktop.registry.OpenHandles(), 0U);
}

TEST(FrmAbout, ShowsTheLibrarysVersionAndComesToTheTopOnce) {
  sim::SimDesktop desktop;
  desktop.module.version = {2, 5, 9, 31};
  FrmAbout form(AboutDesktop{desktop.registry, desktop.shell, desktop.files, desktop.processes,
                             desktop.messageBoxes, desktop.windows, desktop.module});
  form.Load();
  EXPECT_EQ(form.caption, u"About Tunebadge Plugin");
  EXPECT_EQ(form.title, u"Tunebadge Plugin");
  EXPECT_EQ(form.version, u"Version 2.5.31") << "major, minor and revision";
  form.window = desktop.windows.Open(u"#32770", u"About Tunebadge Plugin");
  form.TimerElapsed();
  form.TimerElapsed();
  EXPECT_EQ(desktop.faults.CountOf("BringWindowToTop"), 1U);
  form.KeyPress('a');
  EXPECT_FALSE(form.unloaded);
  form.KeyPress(27);
  EXPECT_TRUE(form.unloaded);
}

}  // namespace
}  // namespace tb
