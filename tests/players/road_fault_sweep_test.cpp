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

constexpr int kTicks = 7;

// Every seam call that the road makes fails in turn, one per run: no run
// crashes or lets an error out of a tick, leaves a key open, starts a second
// timer, waits past its bounds, or leaves the settings unreadable.
TEST(RoadFaultSweep, EveryCallFailingInTurnIsSurvived) {
  const auto steps = scenario::Parse(kRoad);
  std::size_t calls = 0;
  {
    sandbox::SimRunner clean(nullptr);
    clean.Run(steps);
    ASSERT_TRUE(clean.Failures().empty());
    ASSERT_EQ(clean.Desktop().host.Sent().size(), 7U) << "the road as it runs without faults";
    calls = clean.Desktop().faults.CallCount();
  }
  ASSERT_GT(calls, 200U);
  std::size_t injected = 0;
  for (std::size_t k = 1; k <= calls; ++k) {
    sandbox::SimRunner runner(nullptr);
    auto& desktop = runner.Desktop();
    desktop.faults.FailOverall(k);
    ASSERT_NO_THROW(runner.Run(steps)) << "call " << k;
    injected += desktop.faults.Injected();
    EXPECT_TRUE(runner.Failures().empty()) << "call " << k << ": " << runner.Failures()[0].message;
    EXPECT_EQ(desktop.registry.OpenHandles(), 0U) << "call " << k;
    EXPECT_LE(desktop.timer.Count(), 1U) << "call " << k;
    EXPECT_LE(desktop.timer.Now(), kTicks * (1000U + 2500U)) << "call " << k;
    EXPECT_EQ(ReadSetting(desktop.registry, kPlayer), u"Winamp") << "call " << k;
  }
  EXPECT_EQ(injected, calls) << "each run failed exactly one call";
}

}  // namespace
}  // namespace tb
