#include <gtest/gtest.h>

#include "tools/faultsweep/sweep.h"
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
expect sent 7
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
expect sent 4
)road";

// Every seam call that each road makes fails in turn, one per run, and every
// run keeps the fault sweep's rules; here under the sanitizers as well.
TEST(RoadFaultSweep, EveryCallFailingInTurnIsSurvived) {
  for (const char* road : {kRoad, kOtherPlayers}) {
    const auto steps = scenario::Parse(road);
    sandbox::SimRunner clean(nullptr);
    clean.Run(steps);
    ASSERT_TRUE(clean.Failures().empty()) << clean.Failures().front().message;
    const auto prepared = faultsweep::Prepare("road", steps);
    ASSERT_TRUE(prepared);
    ASSERT_GT(prepared->calls.size(), 100U);
    for (std::size_t k = 1; k <= prepared->calls.size(); ++k) {
      EXPECT_EQ(faultsweep::PlayFailing(*prepared, k), std::vector<std::string>())
          << "call " << k << " (" << prepared->calls[k - 1] << ")";
    }
  }
}

}  // namespace
}  // namespace tb
