#include <gtest/gtest.h>

#include <filesystem>

#include "tools/sandbox/sim_runner.h"
#include "tools/simulation/sweep.h"

namespace tb {
namespace {

// Every seam call that each road from a song to the ordinary name and back
// makes fails in turn, one per run, and every run keeps the fault sweep's
// rules; here under the sanitizers as well.
TEST(RoadFaultSweep, EveryCallFailingInTurnIsSurvived) {
  for (const char* road : {"road-through-winamp.tbs", "road-through-other-players.tbs"}) {
    const auto prepared = simulation::Prepare(std::filesystem::path(TB_SCENARIOS) / road);
    ASSERT_TRUE(prepared) << road;
    sandbox::SimRunner clean(nullptr);
    clean.Run(prepared->steps);
    ASSERT_TRUE(clean.Failures().empty()) << road << ": " << clean.Failures().front().message;
    ASSERT_GT(prepared->calls.size(), 100U) << road;
    for (std::size_t k = 1; k <= prepared->calls.size(); ++k) {
      EXPECT_EQ(simulation::PlayFailing(*prepared, k), std::vector<std::string>())
          << road << ": call " << k << " (" << prepared->calls[k - 1] << ")";
    }
  }
}

}  // namespace
}  // namespace tb
