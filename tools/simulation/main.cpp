// tunebadge-simulate: runs on the simulated desktop with the product's own
// code, in child processes so that a crash or a hang is reported against
// the run that caused it.
//
//   tunebadge-simulate sweep [--processes N] FOLDER
//   tunebadge-simulate random [--processes N] SECONDS [SEED]
//   tunebadge-simulate day [HOURS]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "tools/simulation/simulation.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: tunebadge-simulate sweep [--processes N] FOLDER\n"
               "       tunebadge-simulate random [--processes N] SECONDS [SEED]\n"
               "       tunebadge-simulate day [HOURS]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    return Usage();
  }
  const std::string command = argv[1];
  tb::simulation::Isolation isolation;
  std::vector<const char*> operands;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--processes") == 0 && i + 1 < argc) {
      isolation.processes = std::max(1, std::atoi(argv[++i]));
    } else if (argv[i][0] != '-') {
      operands.push_back(argv[i]);
    } else {
      return Usage();
    }
  }
  if (command == "sweep" && operands.size() == 1) {
    return tb::simulation::RunFaultSweep(operands[0], isolation);
  }
  if (command == "random" && (operands.size() == 1 || operands.size() == 2)) {
    std::optional<std::uint64_t> seed;
    if (operands.size() == 2) {
      seed = std::strtoull(operands[1], nullptr, 10);
    }
    return tb::simulation::RunRandomSessions(std::chrono::seconds(std::atoll(operands[0])), seed,
                                             isolation);
  }
  if (command == "day" && operands.size() <= 1) {
    return tb::simulation::RunDay(operands.empty() ? 24 : std::atoi(operands[0]));
  }
  return Usage();
}
