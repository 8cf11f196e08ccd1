#include <gtest/gtest.h>

#include <map>

#include "common/settings.h"
#include "tools/bench/tick_branches.h"

namespace tb::bench {
namespace {

// The platform calls one tick may make in all, per branch: what it makes
// today. A change that makes a tick costlier shows here first. A name change
// asks twice for the last input's time (is the user typing; what the
// plug-in's own keys left) and once more for the window in front (is it a
// conversation window).
const std::map<Branch, std::size_t> kMostCalls = {
    {Branch::kSignedOut, 1},
    {Branch::kSwitchedOff, 5},
    {Branch::kWinampSameSong, 14},
    {Branch::kWinampNewSong, 86},
    {Branch::kStudioSameSong, 12},
    {Branch::kStudioNewSong, 61},
    {Branch::kMusicMatchSameSong, 13},
    {Branch::kMusicMatchNewSong, 62},
    {Branch::kWindowsMediaSameSong, 17},
    {Branch::kWindowsMediaNewSong, 83},
};

// Every tick reads Messenger's status once and each setting at most once;
// a tick with an unchanged song reads the player's title at most once. The
// one setting read twice: Player in a Winamp tick with a new song, as the
// wait for the file-information dialog lets the thread process messages
// (the user may choose another player meanwhile) and the name change reads
// it afresh.
TEST(TickCounts, EachBranchStaysWithinItsTargets) {
  for (const BranchInfo& info : Branches()) {
    TickBench bench(info.branch);
    const TickCounts counts = bench.CountedTick();
    SCOPED_TRACE(info.name);
    EXPECT_EQ(counts.sent, info.newSong ? 1U : 0U) << "the branch does what it is named for";
    EXPECT_EQ(counts.statusReads, 1U);
    for (const auto& [key, reads] : counts.settingReads) {
      const bool readAgain = info.branch == Branch::kWinampNewSong && key == kPlayer;
      EXPECT_LE(reads, readAgain ? 2U : 1U)
          << "reads of setting " << std::string(key.begin(), key.end());
    }
    if (!info.newSong) {
      EXPECT_LE(counts.titleReads, 1U) << "reads of the player's title";
    }
    EXPECT_LE(counts.Total(), kMostCalls.at(info.branch)) << "platform calls in all";
  }
}

TEST(TickCounts, EveryCallIsOfAKindTheTableShows) {
  TickBench bench(Branch::kWinampNewSong);
  const TickCounts counts = bench.CountedTick();
  std::size_t ofKinds = 0;
  for (const auto& kind : Kinds()) {
    ofKinds += counts.OfKind(kind);
  }
  EXPECT_EQ(ofKinds, counts.Total());
  EXPECT_EQ(KindOf("IMessenger::MyStatus"), "Messenger");
  EXPECT_EQ(KindOf("SendMessageTimeoutW"), "window");
  EXPECT_EQ(KindOf("RegCloseKey"), "other");
}

}  // namespace
}  // namespace tb::bench
