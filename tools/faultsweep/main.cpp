// tunebadge-fault-sweep: every scenario file of a folder that plays on the
// simulated desktop, rerun once for each seam call that it makes, with that
// call failing; each run in a child process, so a crash or a hang is
// reported against the call that caused it.
//
//   tunebadge-fault-sweep [--processes N] FOLDER
//
// Prints each run that broke a rule, then one line:
//   fault sweep: S scenarios, C calls failed, N survived
// and exits 0 only when every run survived.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "tools/faultsweep/isolated.h"
#include "tools/faultsweep/sweep.h"

namespace {

using tb::faultsweep::Outcome;

struct Run {
  std::size_t scenario;
  std::size_t call;  // 1-based
};

int Usage() {
  std::fprintf(stderr, "usage: tunebadge-fault-sweep [--processes N] FOLDER\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  tb::faultsweep::Isolation isolation;
  const char* folder = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--processes") == 0 && i + 1 < argc) {
      isolation.processes = std::max(1, std::atoi(argv[++i]));
    } else if (folder == nullptr && argv[i][0] != '-') {
      folder = argv[i];
    } else {
      return Usage();
    }
  }
  if (folder == nullptr) {
    return Usage();
  }

  std::vector<tb::faultsweep::Scenario> scenarios;
  for (const auto& file : tb::faultsweep::ScenarioFiles(folder)) {
    auto prepared = tb::faultsweep::Prepare(file);
    if (prepared) {
      scenarios.push_back(std::move(*prepared));
    }
  }
  std::vector<Run> runs;
  for (std::size_t s = 0; s < scenarios.size(); ++s) {
    for (std::size_t k = 1; k <= scenarios[s].calls.size(); ++k) {
      runs.push_back(Run{s, k});
    }
  }

  const auto outcomes = tb::faultsweep::RunIsolated(runs.size(), isolation, [&](std::size_t i) {
    return tb::faultsweep::PlayFailing(scenarios[runs[i].scenario], runs[i].call);
  });

  std::size_t survived = 0;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (outcomes[i].kind == Outcome::kSurvived) {
      ++survived;
      continue;
    }
    const auto& scenario = scenarios[runs[i].scenario];
    std::printf("%s: call %zu (%s) failing: %s\n", scenario.path.c_str(), runs[i].call,
                scenario.calls[runs[i].call - 1].c_str(),
                outcomes[i].kind == Outcome::kNotRun ? "not run" : outcomes[i].details.c_str());
  }
  std::printf("fault sweep: %zu scenarios, %zu calls failed, %zu survived\n", scenarios.size(),
              runs.size(), survived);
  return survived == runs.size() ? 0 : 1;
}
