#include <gtest/gtest.h>

#include "common/settings.h"
#include "platform/sim/desktop.h"
#include "plugin/core/nick.h"
#include "plugin/core/plugin.h"
#include "tools/sandbox/sim_dialogs.h"

namespace tb {
namespace {

using platform::kHkeyCurrentUser;

TEST(Startup, FirstStartWritesDefaultsStartsOneTimerAndLoadsTheHiddenForm) {
  sim::SimDesktop desktop;
  sandbox::SimDialogs dialogs(desktop);
  Plugin plugin(desktop.Platform(), dialogs);
  EXPECT_EQ(plugin.PollTimerId(), 0U) << "nothing runs before the first object";
  Nick nick(plugin);
  EXPECT_TRUE(plugin.Started());
  EXPECT_EQ(desktop.registry.GetString(kHkeyCurrentUser, kSettingsKeyPath, kOnOff), u"1");
  EXPECT_NE(plugin.PollTimerId(), 0U);
  EXPECT_EQ(desktop.timer.Count(), 1U);
  ASSERT_TRUE(plugin.SendTextForm().Loaded());
  EXPECT_NE(plugin.SendTextForm().oMessengerAPI(), nullptr) << "the form makes its own Messenger";
  EXPECT_EQ(desktop.messenger.state.objectsMade, 1) << "the shared one waits for its first use";
  EXPECT_EQ(desktop.registry.OpenHandles(), 0U);

  desktop.timer.Advance(999);
  EXPECT_EQ(desktop.timer.Fired(), 0U);
  desktop.timer.Advance(1);
  EXPECT_EQ(desktop.timer.Fired(), 1U) << "the first tick comes 1000 ms after start-up";
  EXPECT_EQ(desktop.messenger.state.objectsMade, 2) << "the tick made oSharedMessenger";
  desktop.timer.Advance(3000);
  EXPECT_EQ(desktop.timer.Fired(), 4U);
  EXPECT_EQ(desktop.messenger.state.objectsMade, 2) << "and keeps it";
}

TEST(Startup, RunsOncePerLoadAndNeverStartsASecondTimer) {
  sim::SimDesktop desktop;
  sandbox::SimDialogs dialogs(desktop);
  Plugin plugin(desktop.Platform(), dialogs);
  Nick first(plugin);
  const auto timerId = plugin.PollTimerId();
  Nick second(plugin);
  plugin.StartPollTimer();
  plugin.PluginStartup();
  EXPECT_EQ(plugin.PollTimerId(), timerId);
  EXPECT_EQ(desktop.timer.Count(), 1U);
  EXPECT_EQ(desktop.faults.CountOf("SetTimer"), 1U);
  std::u16string name;
  std::int32_t commands = 0;
  std::int32_t tags = 0;
  EXPECT_TRUE(second.GetPublishInfo(name, commands, tags)) << "a second object serves the same";
  EXPECT_EQ(commands, 4);
}

TEST(Startup, AFailedSetTimerLeavesNoTimerAndTheObjectServing) {
  sim::SimDesktop desktop;
  desktop.faults.FailCall("SetTimer");
  sandbox::SimDialogs dialogs(desktop);
  Plugin plugin(desktop.Platform(), dialogs);
  Nick nick(plugin);
  EXPECT_EQ(plugin.PollTimerId(), 0U);
  EXPECT_TRUE(plugin.SendTextForm().Loaded()) << "start-up goes on past the timer";
  std::u16string name;
  std::int32_t commands = 0;
  std::int32_t tags = 0;
  EXPECT_TRUE(nick.GetPublishInfo(name, commands, tags));
  EXPECT_EQ(name, u"Tunebadge Plugin");
  desktop.timer.Advance(5000);
  EXPECT_EQ(desktop.timer.Fired(), 0U);
}

TEST(Startup, ARefusedDefaultFailsTheCreationAndTheNextCreationRetries) {
  sim::SimDesktop desktop;
  desktop.faults.FailCall("RegSetValueExW");
  sandbox::SimDialogs dialogs(desktop);
  Plugin plugin(desktop.Platform(), dialogs);
  EXPECT_THROW(Nick nick(plugin), SettingWriteError);
  EXPECT_FALSE(plugin.Started());
  EXPECT_EQ(plugin.PollTimerId(), 0U);
  EXPECT_EQ(desktop.registry.OpenHandles(), 0U);
  Nick nick(plugin);
  EXPECT_TRUE(plugin.Started());
  EXPECT_EQ(desktop.timer.Count(), 1U);
}

TEST(Startup, TheFormLoadsEvenWhenMessengerCannotBeMade) {
  sim::SimDesktop desktop;
  desktop.messenger.state.installed = false;
  sandbox::SimDialogs dialogs(desktop);
  Plugin plugin(desktop.Platform(), dialogs);
  Nick nick(plugin);
  ASSERT_TRUE(plugin.SendTextForm().Loaded());
  EXPECT_EQ(plugin.SendTextForm().oMessengerAPI(), nullptr);
  EXPECT_NE(plugin.PollTimerId(), 0U);
}

// A tick that cannot reach Messenger ends quietly, and the next one tries
// again.
TEST(PollTick, EndsQuietlyWhenMessengerFails) {
  sim::SimDesktop desktop;
  sandbox::SimDialogs dialogs(desktop);
  Plugin plugin(desktop.Platform(), dialogs);
  Nick nick(plugin);
  desktop.messenger.state.installed = false;
  EXPECT_NO_THROW(desktop.timer.Advance(3000));
  EXPECT_EQ(desktop.timer.Fired(), 3U);
  desktop.messenger.state.installed = true;
  desktop.faults.FailCall("IMessenger::MyStatus");
  EXPECT_NO_THROW(desktop.timer.Advance(1000));
  desktop.timer.Advance(1000);
  EXPECT_EQ(desktop.faults.CountOf("IMessenger::MyStatus"), 2U) << "the next tick reads again";
  EXPECT_EQ(desktop.registry.OpenHandles(), 0U);
  EXPECT_EQ(sim::UnexpectedErrors(desktop.diagnostics), std::nullopt);
}

TEST(PollTick, GoesOnOnlyForTheSignedInStatuses) {
  sim::SimDesktop desktop;
  sandbox::SimDialogs dialogs(desktop);
  Plugin plugin(desktop.Platform(), dialogs);
  Nick nick(plugin);
  // Signed out, unknown, appearing offline and a transitional state stop the
  // tick before it reads the switch; the seven signed-in states go on.
  const std::pair<std::int32_t, bool> cases[] = {{1, false}, {0, false}, {6, false}, {3, false},
                                                 {2, true},  {10, true}, {14, true}, {18, true},
                                                 {34, true}, {50, true}, {66, true}, {-1, false}};
  for (const auto& [status, goesOn] : cases) {
    desktop.messenger.state.status = status;
    const auto readsBefore = desktop.faults.CountOf("RegQueryValueExW");
    desktop.timer.Advance(1000);
    EXPECT_EQ(desktop.faults.CountOf("RegQueryValueExW") > readsBefore, goesOn)
        << "status " << status;
  }
}

// Winamp plays, so that the first ticks read its window.
void PlayInWinamp(sim::SimDesktop& desktop) {
  desktop.messenger.state.signinName = u"ann@example.com";
  desktop.registry.PutString(kHkeyCurrentUser, kSettingsKeyPath, kPlayer, kPlayerWinamp);
  desktop.windows.Open(u"Winamp v1.x", u"1. Band - Song - Winamp");
}

// Every seam call that start-up and the first ticks make can fail, one at a
// time: the plug-in neither crashes nor leaves a key open, a start-up that
// did not finish leaves no timer behind, and no tick contains an error that
// is not a designed refusal.
TEST(Startup, SurvivesEachOfItsCallsFailingInTurn) {
  std::size_t calls = 0;
  {
    sim::SimDesktop desktop;
    PlayInWinamp(desktop);
    sandbox::SimDialogs dialogs(desktop);
    Plugin plugin(desktop.Platform(), dialogs);
    Nick nick(plugin);
    desktop.timer.Advance(2000);
    calls = desktop.faults.CallCount();
  }
  ASSERT_GT(calls, 10U);
  for (std::size_t k = 1; k <= calls; ++k) {
    sim::SimDesktop desktop;
    PlayInWinamp(desktop);
    desktop.faults.FailOverall(k);
    sandbox::SimDialogs dialogs(desktop);
    Plugin plugin(desktop.Platform(), dialogs);
    try {
      Nick nick(plugin);
    } catch (const SettingWriteError&) {
      EXPECT_FALSE(plugin.Started()) << "call " << k;
      EXPECT_EQ(desktop.timer.Count(), 0U) << "call " << k;
    }
    EXPECT_NO_THROW(desktop.timer.Advance(2000)) << "call " << k;
    EXPECT_LE(desktop.timer.Count(), 1U) << "call " << k;
    EXPECT_EQ(desktop.registry.OpenHandles(), 0U) << "call " << k;
    EXPECT_EQ(sim::UnexpectedErrors(desktop.diagnostics), std::nullopt) << "call " << k;
  }
}

}  // namespace
}  // namespace tb
