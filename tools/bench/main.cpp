// tunebadge-bench: what one poll tick costs in each of its branches: the
// CPU time of a tick from Google Benchmark (the plug-in's code and the
// simulated desktop's side of each seam call), then one table with the
// platform calls that the tick makes, by kind, counted on the simulated
// desktop, and that time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tools/bench/tick_branches.h"

namespace {

using tb::bench::BranchInfo;
using tb::bench::TickBench;

// Google Benchmark's console report, keeping each benchmark's CPU time.
class KeepingReporter final : public benchmark::ConsoleReporter {
 public:
  KeepingReporter() : ConsoleReporter(OO_None) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      microseconds[run.benchmark_name()] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> microseconds;
};

void TickOf(benchmark::State& state, tb::bench::Branch branch) {
  TickBench bench(branch);
  for (auto _ : state) {
    bench.Tick();
  }
}

void PrintTable(const std::map<std::string, double>& microseconds) {
  std::printf("\n%-25s", "one poll tick");
  for (const auto& kind : tb::bench::Kinds()) {
    std::printf(" %10s", kind.c_str());
  }
  std::printf(" %6s %7s %8s %6s %9s\n", "total", "status", "setting", "title", "CPU us");
  for (const BranchInfo& info : tb::bench::Branches()) {
    TickBench bench(info.branch);
    const tb::bench::TickCounts counts = bench.CountedTick();
    std::printf("%-25s", info.name);
    for (const auto& kind : tb::bench::Kinds()) {
      std::printf(" %10zu", counts.OfKind(kind));
    }
    std::size_t mostSettingReads = 0;
    for (const auto& entry : counts.settingReads) {
      mostSettingReads = std::max(mostSettingReads, entry.second);
    }
    const auto time = microseconds.find(info.name);
    std::printf(" %6zu %7zu %8zu %6zu %9.1f\n", counts.Total(), counts.statusReads,
                mostSettingReads, counts.titleReads,
                time == microseconds.end() ? 0.0 : time->second);
  }
  std::printf(
      "status: reads of Messenger's status; setting: the most reads of any one setting;\n"
      "title: reads of the player's title; CPU us: microseconds per tick.\n");
}

}  // namespace

int main(int argc, char** argv) {
  for (const BranchInfo& info : tb::bench::Branches()) {
    benchmark::RegisterBenchmark(info.name, TickOf, info.branch)->Unit(benchmark::kMicrosecond);
  }
  benchmark::Initialize(&argc, argv);
  KeepingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  PrintTable(reporter.microseconds);
  return 0;
}
