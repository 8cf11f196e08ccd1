// The simulation runs of the simulated desktop, each a command of
// tunebadge-simulate; each prints what broke, one line each, then one line
// of figures, and answers 0 only when nothing broke.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "tools/simulation/isolated.h"

namespace tb::simulation {

// Every scenario file of the folder, played once for each seam call it
// makes with that one call failing:
//   fault sweep: S scenarios, C calls failed, N survived
int RunFaultSweep(const std::filesystem::path& folder, const Isolation& isolation);

// Seeded random sessions for `budget`: a fixed list of seeds, then seeds
// from the clock (the first printed), or only `seed`. A broken session is
// printed as a scenario file, shrunk:
//   random sessions: N sessions, M steps, F faults injected, B properties broken
int RunRandomSessions(std::chrono::seconds budget, std::optional<std::uint64_t> seed,
                      const Isolation& isolation);

// A simulated day of listening, hour by hour, and the heap's growth after
// the first hour.
int RunDay(int hours);

}  // namespace tb::simulation
