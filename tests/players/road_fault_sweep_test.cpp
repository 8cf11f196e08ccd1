#include <gtest/gtest.h>

#include "plugin/core/settings.h"
#include "tools/sandbox/sim_runner.h"

namespace tb {
namespace {

// From a song to the ordinary name and back, through both Winamp windows,
// with and without a conversation window in front.
const char* const kRoad = R"road(
signin "ann@example.com"
name "Ann"
setting Player "Winamp"
fileinfo "Song" "Band" "Album"
load
window "Winamp v1.x" "Band - Song - Winamp"
tick
focus IMWindowClass
fileinfo "Next" "Band" "Album"
window "Winamp v1.x" "Band - Next - Winamp"
tick
focus Notepad
window "Winamp v1.x" "Band - Next - Winamp [Paused]"
tick
window "Winamp v1.x" "Band - Next - Winamp"
tick
close "Winamp v1.x"
tick
window STUDIO "Band - Song"
tick
window STUDIO "Band - Song [stopped]"
tick
tag "(!XWPTITLE)"
)road";

// The same through MUSICMATCH Jukebox and Windows Media Player.
const char* const kOtherPlayers = R"road(
signin "ann@example.com"
name "Ann"
setting Player "MusicMatch"
load
window "mmjb:mainwnd" "\"Song\" by Band - MUSICMATCH Jukebox"
tick
window "mmjb:mainwnd" "MUSICMATCH Jukebox"
tick
setting Player "WindowsMedia"
reg HKCU "Software\\Microsoft\\MediaPlayer\\CurrentMetadata" "Title" sz "Song"
tick
reg HKCU "Software\\Microsoft\\MediaPlayer\\CurrentMetadata" "Title" sz ""
tick
tag "(!XWMPTITLE)"
)road";

constexpr int kMostTicks = 7;

struct Road {
  const char* text;
  std::size_t sent;
  const char16_t* player;
};

// Every seam call that the road makes fails in turn, one per run: no run
// crashes or lets an error out of a tick, leaves a key open, starts a second
// timer, waits past its bounds, or leaves the settings unreadable.
TEST(RoadFaultSweep, EveryCallFailingInTurnIsSurvived) {
  for (const Road& road : {Road{kRoad, 7, u"Winamp"}, Road{kOtherPlayers, 4, u"WindowsMedia"}}) {
    const auto steps = scenario::Parse(road.text);
    std::size_t calls = 0;
    {
      sandbox::SimRunner clean(nullptr);
      clean.Run(steps);
      ASSERT_TRUE(clean.Failures().empty());
      ASSERT_EQ(clean.Desktop().host.Sent().size(), road.sent) << "the road without faults";
      calls = clean.Desktop().faults.CallCount();
    }
    ASSERT_GT(calls, 100U);
    std::size_t injected = 0;
    for (std::size_t k = 1; k <= calls; ++k) {
      sandbox::SimRunner runner(nullptr);
      auto& desktop = runner.Desktop();
      desktop.faults.FailOverall(k);
      ASSERT_NO_THROW(runner.Run(steps)) << "call " << k;
      injected += desktop.faults.Injected();
      EXPECT_TRUE(runner.Failures().empty()) << "call " << k;
      EXPECT_EQ(desktop.registry.OpenHandles(), 0U) << "call " << k;
      EXPECT_LE(desktop.timer.Count(), 1U) << "call " << k;
      EXPECT_LE(desktop.timer.Now(), kMostTicks * (1000U + 2500U)) << "call " << k;
      EXPECT_EQ(ReadSetting(desktop.registry, kPlayer), road.player) << "call " << k;
    }
    EXPECT_EQ(injected, calls) << "each run failed exactly one call";
  }
}

}  // namespace
}  // namespace tb
