#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <stdexcept>

#include "common/contained.h"
#include "common/refused.h"
#include "common/settings.h"
#include "tools/sandbox/sim_runner.h"
#include "tools/simulation/isolated.h"
#include "tools/simulation/sweep.h"

namespace tb::simulation {
namespace {

// Job 2 crashes, job 4 never answers, job 5 finds something broken; the
// others survive, those after a crash or a hang in the same batch included.
TEST(RunIsolated, ReportsEachJobsOutcomeAndGoesOnAfterACrashOrAHang) {
  Isolation isolation;
  isolation.batch = 4;
  isolation.hangAfter = std::chrono::milliseconds(300);
  const auto outcomes = RunIsolated(7, isolation, [](std::size_t i) -> std::vector<std::string> {
    if (i == 2) {
      std::abort();
    }
    if (i == 4) {
      for (;;) {
        pause();
      }
    }
    if (i == 5) {
      return {"a key left open", "a second timer"};
    }
    return {};
  });
  ASSERT_EQ(outcomes.size(), 7U);
  for (const std::size_t survivor : {0U, 1U, 3U, 6U}) {
    EXPECT_EQ(outcomes[survivor].kind, Outcome::kSurvived) << survivor;
  }
  EXPECT_EQ(outcomes[2].kind, Outcome::kCrashed);
  EXPECT_NE(outcomes[2].details.find("signal 6"), std::string::npos) << outcomes[2].details;
  EXPECT_EQ(outcomes[4].kind, Outcome::kHung);
  EXPECT_EQ(outcomes[5].kind, Outcome::kBroken);
  EXPECT_EQ(outcomes[5].details, "a key left open | a second timer");
}

// A scenario file in a folder of its own.
class ScenarioFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("tb-fault-sweep-" + std::to_string(getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::filesystem::path Write(const std::string& name, const std::string& text) {
    auto path = folder / name;
    std::ofstream(path) << text;
    return path;
  }

  std::filesystem::path folder;
};

TEST_F(ScenarioFolder, FindsTheScenarioFilesInNameOrderAndPassesOverFilesForWindows) {
  Write("b.tbs", "load\ntick\n");
  Write("a.tbs", "load\n");
  Write("c.tbs", "requires windows\nload\n");
  Write("notes.txt", "load\n");
  const auto files = ScenarioFiles(folder);
  ASSERT_EQ(files.size(), 3U);
  EXPECT_EQ(files[0].filename(), "a.tbs");
  EXPECT_EQ(files[2].filename(), "c.tbs");
  EXPECT_FALSE(Prepare(files[2])) << "a file for real Windows is not swept";
  const auto prepared = Prepare(files[1]);
  ASSERT_TRUE(prepared);
  EXPECT_GT(prepared->calls.size(), 10U) << "start-up and a tick";
  EXPECT_EQ(prepared->calls.front(), "RegOpenKeyExW") << "start-up reads onOff first";
}

// A setting that the file itself stores as a number is the file's doing,
// not a corruption; every call of start-up and a command failing in turn
// is survived.
TEST_F(ScenarioFolder, EveryCallOfStartUpAndACommandFailingIsSurvived) {
  const auto prepared = Prepare(Write("commands.tbs",
                                      "reg HKCU \"Software\\\\VB and VBA Program Settings\\\\"
                                      "Corvan's tbg Plugin\\\\Data\" \"Status\" dword 7\n"
                                      "load\ncommand \"/xtbgoff\"\ntick\n"));
  ASSERT_TRUE(prepared);
  EXPECT_EQ(prepared->settingTypes.at(kStatus), platform::kRegDword);
  for (std::size_t k = 1; k <= prepared->calls.size(); ++k) {
    EXPECT_EQ(PlayFailing(*prepared, k), std::vector<std::string>())
        << "call " << k << " (" << prepared->calls[k - 1] << ")";
  }
}

// The host's edge on the simulated desktop answers a refused setting as a
// failed call, as the COM layer does on Windows: the file ends there with
// the reason, and nothing escapes the player.
TEST(HostCalls, ARefusedSettingIsAFailedCallThatEndsTheFile) {
  sandbox::SimRunner runner(nullptr);
  runner.Run(
      scenario::Parse("load\nfail RegSetValueExW\ncommand \"/xtbgon\"\nexpect result true\n"));
  const auto& calls = runner.World().Calls();
  EXPECT_EQ(calls.failed, 1U);
  EXPECT_EQ(runner.Desktop().diagnostics.Count(), 0U);
  ASSERT_EQ(runner.Failures().size(), 1U);
  EXPECT_EQ(runner.Failures()[0].line, 3);
  EXPECT_NE(runner.Failures()[0].message.find("ParseCommand failed"), std::string::npos)
      << runner.Failures()[0].message;
}

// At an edge, a refusal and memory running out pass silently; any other
// error is told with where it was met and its text.
TEST(HostCalls, OnlyAnUnexpectedErrorIsReported) {
  sim::SimDiagnostics diagnostics;
  const auto contain = [&](const auto& error) {
    try {
      throw error;
    } catch (...) {
      ReportIfUnexpected(diagnostics, "ParseTag");
    }
  };
  contain(Refused("the registry refused"));
  contain(std::bad_alloc());
  EXPECT_EQ(diagnostics.Count(), 0U);
  contain(std::logic_error("a fault"));
  contain(42);
  EXPECT_EQ(sim::UnexpectedErrors(diagnostics),
            "2 unexpected errors contained: ParseTag: a fault; ParseTag: an error of unknown type");
}

TEST(HostCalls, StartUpThatFailsLeavesThePlugInUncreated) {
  sandbox::SimRunner runner(nullptr);
  runner.Run(scenario::Parse("fail RegSetValueExW\nload\ncommand \"/xtbgon\"\n"));
  EXPECT_EQ(runner.World().Calls().failed, 1U);
  EXPECT_FALSE(runner.World().Loaded());
  EXPECT_TRUE(runner.Failures().empty()) << "the host goes on without the plug-in";
}

}  // namespace
}  // namespace tb::simulation
