// tunebadge-sandbox: the plug-in's code on the simulated desktop.
//
//   tunebadge-sandbox run FILE...   play scenario files; exit 0 only when every
//                                   expectation held (77 when every file asked
//                                   for another desktop)
#include <cstdio>
#include <cstring>

#include "tools/sandbox/sim_runner.h"
#include "tools/scenario/runner.h"

namespace {

int RunFile(const char* path) {
  const auto steps = tb::scenario::ReadScenarioFile(path);
  if (!steps) {
    return 1;
  }
  std::printf("== %s\n", path);
  tb::sandbox::SimRunner runner(stdout);
  runner.Run(*steps);
  const int status = tb::scenario::ReportRun(path, runner.Player());
  // A fault the plug-in contained fails the file, whatever it expected.
  if (const auto unexpected = tb::sim::UnexpectedErrors(runner.Desktop().diagnostics)) {
    std::fprintf(stderr, "%s: %s\n", path, unexpected->c_str());
    return 1;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "run") == 0) {
    int failed = 0;
    int skipped = 0;
    for (int i = 2; i < argc; ++i) {
      const int status = RunFile(argv[i]);
      if (status == tb::scenario::kSkippedStatus) {
        ++skipped;
      } else if (status != 0) {
        ++failed;
      }
    }
    if (failed != 0) {
      return 1;
    }
    return skipped == argc - 2 ? tb::scenario::kSkippedStatus : 0;
  }
  std::fprintf(stderr, "usage: tunebadge-sandbox run FILE...\n");
  return 2;
}
