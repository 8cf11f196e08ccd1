// Jobs run in child processes, a batch to each, so that a job that crashes
// or hangs is reported as such and every other job still runs.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tb::simulation {

struct Outcome {
  enum Kind { kNotRun, kSurvived, kBroken, kCrashed, kHung };
  Kind kind = kNotRun;
  // What broke, how the process ended, or how long it stayed silent.
  std::string details;
};

struct Isolation {
  int processes = 2;
  std::size_t batch = 64;
  // A job that reports nothing for this long is taken as hung and killed.
  std::chrono::milliseconds hangAfter{std::chrono::seconds(10)};
};

// What a job found broken, one line each; empty when it survived.
using Job = std::function<std::vector<std::string>(std::size_t index)>;

// Runs job(0) to job(count - 1) in child processes, `processes` at a time,
// and answers each job's outcome. After a crash or a hang the batch goes on
// in a new process from the next job.
std::vector<Outcome> RunIsolated(std::size_t count, const Isolation& isolation, const Job& job);

}  // namespace tb::simulation
