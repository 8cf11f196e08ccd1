#include <gtest/gtest.h>

#include "common/settings.h"
#include "platform/sim/desktop.h"

namespace tb {
namespace {

using platform::kHkeyCurrentUser;

std::optional<std::u16string> Stored(sim::SimDesktop& world, const std::u16string& key) {
  return world.registry.GetString(kHkeyCurrentUser, kSettingsKeyPath, key);
}

TEST(Settings, DefaultsOnAnEmptyStoreLeavePlayerAndStatusAbsent) {
  sim::SimDesktop world;
  WriteDefaultSettings(world.registry);
  EXPECT_EQ(Stored(world, kOnOff), u"1");
  EXPECT_EQ(Stored(world, kCurrentTag),
            u" Currently Playing >> (!XWPALBUM)-(!XWPARTIST)-(!XWPTITLE)(8)");
  EXPECT_EQ(Stored(world, kCurrentTagMMJ), u" Currently Playing >> ");
  EXPECT_EQ(Stored(world, kCurrentTagWMP),
            u" Currently Playing >> (!XWMPALBUM)-(!XWMPARTIST)-(!XWMPTITLE)-(!XWMPDURATION) (8)");
  EXPECT_FALSE(world.registry.Get(kHkeyCurrentUser, kSettingsKeyPath, kPlayer).has_value());
  EXPECT_FALSE(world.registry.Get(kHkeyCurrentUser, kSettingsKeyPath, kStatus).has_value());
  EXPECT_EQ(world.registry.OpenHandles(), 0U);
}

TEST(Settings, DefaultsReplaceOnlyWhatReadsAsEmpty) {
  sim::SimDesktop world;
  world.registry.PutString(kHkeyCurrentUser, kSettingsKeyPath, kCurrentTagMMJ, u"");
  world.registry.PutString(kHkeyCurrentUser, kSettingsKeyPath, kCurrentTag, u" mine");
  world.registry.PutString(kHkeyCurrentUser, kSettingsKeyPath, kOnOff, u"0");
  world.registry.PutDword(kHkeyCurrentUser, kSettingsKeyPath, kCurrentTagWMP, 7);
  WriteDefaultSettings(world.registry);
  EXPECT_EQ(Stored(world, kCurrentTagMMJ), u" Currently Playing >> ")
      << "a cleared template comes back";
  EXPECT_EQ(Stored(world, kCurrentTag), u" mine");
  EXPECT_EQ(Stored(world, kOnOff), u"0") << "switched off stays off";
  EXPECT_EQ(Stored(world, kCurrentTagWMP), std::u16string(kDefaultCurrentTagWMP))
      << "a value of another type reads as empty and is replaced by a REG_SZ";
}

TEST(Settings, ValuesAreTextComparedExactly) {
  sim::SimDesktop world;
  WriteSetting(world.registry, kPlayer, u"winamp");
  EXPECT_NE(ReadSetting(world.registry, kPlayer), u"Winamp");
  WriteSetting(world.registry, kOnOff, u"1 ");
  EXPECT_NE(ReadSetting(world.registry, kOnOff), u"1");
  const std::u16string japanese = u" \u518d\u751f\u4e2d >> ";
  WriteSetting(world.registry, kCurrentTagMMJ, japanese);
  EXPECT_EQ(ReadSetting(world.registry, kCurrentTagMMJ), japanese)
      << "a template outside the ANSI code page is kept whole";
}

TEST(Settings, ARefusedWriteIsReportedToTheWriterAndLeavesNoHandle) {
  sim::SimDesktop world;
  world.faults.FailCall("RegSetValueExW");
  EXPECT_THROW(WriteSetting(world.registry, kOnOff, u"0"), SettingWriteError);
  world.faults.Clear();
  world.faults.FailCall("RegCreateKeyExW", 2);
  WriteSetting(world.registry, kOnOff, u"1");
  EXPECT_THROW(WriteSetting(world.registry, kOnOff, u"0"), SettingWriteError);
  EXPECT_EQ(Stored(world, kOnOff), u"1") << "the earlier value stays";
  EXPECT_EQ(world.registry.OpenHandles(), 0U);
}

TEST(Settings, AReadNeverFails) {
  sim::SimDesktop world;
  WriteSetting(world.registry, kStatus, u"Playing");
  for (const char* call : {"RegOpenKeyExW", "RegQueryValueExW"}) {
    world.faults.Clear();
    world.faults.FailCall(call, 1, true);
    EXPECT_EQ(ReadSetting(world.registry, kStatus), u"") << call << " failing reads as empty";
    EXPECT_EQ(world.registry.OpenHandles(), 0U);
  }
  world.faults.Clear();
  world.faults.FailCall("RegQueryValueExW", 2);
  EXPECT_EQ(ReadSetting(world.registry, kStatus), u"") << "the data query failing";
  EXPECT_EQ(world.registry.OpenHandles(), 0U);
}

TEST(Settings, DefaultsStopAtTheFirstRefusedWrite) {
  sim::SimDesktop world;
  world.faults.FailCall("RegSetValueExW", 2);
  EXPECT_THROW(WriteDefaultSettings(world.registry), SettingWriteError);
  EXPECT_EQ(Stored(world, kOnOff), u"1");
  EXPECT_FALSE(Stored(world, kCurrentTag).has_value());
  EXPECT_FALSE(Stored(world, kCurrentTagMMJ).has_value()) << "nothing after the failure";
  world.faults.Clear();
  WriteDefaultSettings(world.registry);
  EXPECT_EQ(Stored(world, kCurrentTagMMJ), u" Currently Playing >> ") << "the next start mends it";
}

}  // namespace
}  // namespace tb
