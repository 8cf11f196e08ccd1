#include <gtest/gtest.h>

#include "plugin/players/mod_winamp.h"
#include "plugin/players/readers.h"
#include "tools/sandbox/sim_runner.h"

namespace tb {
namespace {

TEST(IdleTitle, TheMarkerMustEndOneCharacterBeforeTheEnd) {
  EXPECT_FALSE(IsIdleTitle(u"xStopped", u"Stopped", u"Paused")) << "8 characters, no closer";
  EXPECT_TRUE(IsIdleTitle(u"Stopped]", u"Stopped", u"Paused"));
  EXPECT_TRUE(IsIdleTitle(u"Paused)", u"Stopped", u"Paused"));
  EXPECT_FALSE(IsIdleTitle(u"Paused", u"Stopped", u"Paused")) << "shorter than marker and one";
  EXPECT_FALSE(IsIdleTitle(u"Stop", u"Stopped", u"Paused"));
  EXPECT_TRUE(IsIdleTitle(u"", u"Stopped", u"Paused"));
  EXPECT_FALSE(IsIdleTitle(u"Song [stopped]", u"Stopped", u"Paused"));
  EXPECT_TRUE(IsIdleTitle(u"Song [stopped]", u"stopped", u"paused"));
  EXPECT_FALSE(IsIdleTitle(u"Song [Stopped] now", u"Stopped", u"Paused"));
}

// A handle is a number, not a signed one: one with its top bit set is a
// window like any other, or the name would be restored while it plays.
TEST(IsPresent, AnyHandleButZeroIsAWindow) {
  EXPECT_TRUE(IsPresent(0x10010));
  EXPECT_TRUE(IsPresent(0x80000010U));
  EXPECT_TRUE(IsPresent(0xFFFFFFFFU));
  EXPECT_FALSE(IsPresent(0));
}

// Runs scenario text on a fresh simulated desktop.
struct Road {
  explicit Road(const std::string& text) : runner(nullptr) { runner.Run(scenario::Parse(text)); }
  sandbox::SimRunner runner;
};

const char* const kPlaying =
    "signin \"a@b\"\nname \"Ann\"\nsetting Player \"Winamp\"\nfileinfo \"T\" \"A\" \"L\"\nload\n"
    "window \"Winamp v1.x\" \"A - T - Winamp\"\ntick\n";

TEST(WinampReader, AHungPlayerHoldsTheTickOnlyForTheTextTimeouts) {
  Road road(std::string(kPlaying) + "hang \"Winamp v1.x\"\n");
  auto& desktop = road.runner.Desktop();
  const auto before = desktop.timer.Now();
  desktop.timer.Advance(1000);
  const auto spent = desktop.timer.Now() - before - 1000;
  EXPECT_GT(spent, 0U) << "the reads did wait";
  EXPECT_LE(spent, kWindowTextTimeoutMs) << "one title read, bounded";
  EXPECT_EQ(desktop.host.Sent().size(), 1U) << "a hung player is busy, not stopped";
}

TEST(WinampReader, AMissingDialogEndsTheWaitAndANestedTickChangesNothing) {
  Road road(
      "signin \"a@b\"\nname \"Ann\"\nsetting Player \"Winamp\"\nfileinfo none\nload\n"
      "window \"Winamp v1.x\" \"A - T - Winamp\"\n");
  auto& desktop = road.runner.Desktop();
  desktop.faults.KeepLog(true);
  desktop.timer.Advance(1000);
  EXPECT_GE(desktop.timer.Fired(), 2U) << "a tick ran inside the dialog wait";
  EXPECT_LT(desktop.timer.Now(), 1000U + kFileInfoWaitMs + 1000U);
  EXPECT_EQ(desktop.faults.CountOf("PostMessageW"), 1U) << "one file-information request";
  EXPECT_EQ(desktop.host.Sent().size(), 1U) << "one name change";
  EXPECT_EQ(desktop.messenger.state.friendlyName, u"Ann\u00a0 Currently Playing >>  - - (8)");
}

TEST(NameChange, TheFocusWaitEndsWhenWindowsRefusesTheFocus) {
  Road road(std::string(kPlaying) +
            "focus Notepad\nforeground locked\n"
            "window \"Winamp v1.x\" \"A - T - Winamp [Stopped]\"\n");
  auto& desktop = road.runner.Desktop();
  const auto before = desktop.timer.Now();
  desktop.timer.Advance(1000);
  EXPECT_LE(desktop.timer.Now() - before, 1000U + 2000U);
  EXPECT_GE(desktop.faults.CountOf("SetForegroundWindow"), 3U) << "it kept trying";
  EXPECT_EQ(desktop.host.Sent().size(), 1U) << "Notepad took the key stroke";
}

}  // namespace
}  // namespace tb

namespace tb {
namespace {

TEST(ReplaceText, ScansUpToTheFirstLengthAndInsideReplacements) {
  EXPECT_EQ(ReplaceText(u"A\" by B\" by C", u"\" by", u" -"), u"A - B - C");
  EXPECT_EQ(ReplaceText(u"ab", u"abc", u"x"), u"ab") << "find longer than text";
  EXPECT_EQ(ReplaceText(u"Song - MUSICMATCH Jukebox", u" - MUSICMATCH Jukebox", u""), u"Song");
  // The scan goes on one past the start of an insertion, so it finds the
  // search text inside what it inserted.
  EXPECT_EQ(ReplaceText(u"abc", u"bc", u"bbc"), u"abbbc");
  EXPECT_EQ(ReplaceText(u"aab", u"ab", u"b"), u"ab");
  // It never goes past the text's first length, whatever was inserted.
  EXPECT_EQ(ReplaceText(u"aa", u"a", u"aa"), u"aaaa");
  EXPECT_EQ(ReplaceText(u"", u"", u"x"), u"");
}

}  // namespace
}  // namespace tb
