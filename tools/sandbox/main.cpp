// tunebadge-sandbox: the plug-in's code on the simulated desktop.
//
//   tunebadge-sandbox run FILE...   play scenario files; exit 0 only when every
//                                   expectation held
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/sandbox/sim_runner.h"
#include "tools/scenario/scenario.h"

namespace {

int RunFile(const char* path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "%s: cannot read\n", path);
    return 1;
  }
  std::stringstream text;
  text << file.rdbuf();
  std::vector<tb::scenario::Step> steps;
  try {
    steps = tb::scenario::Parse(text.str());
  } catch (const tb::scenario::ScenarioError& error) {
    std::fprintf(stderr, "%s:%d: %s\n", path, error.Line(), error.what());
    return 1;
  }
  std::printf("== %s\n", path);
  tb::sandbox::SimRunner runner(stdout);
  runner.Run(steps);
  for (const auto& failure : runner.Failures()) {
    std::fprintf(stderr, "%s:%d: %s\n", path, failure.line, failure.message.c_str());
  }
  return runner.Failures().empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "run") == 0) {
    int failed = 0;
    for (int i = 2; i < argc; ++i) {
      failed += RunFile(argv[i]);
    }
    return failed == 0 ? 0 : 1;
  }
  std::fprintf(stderr, "usage: tunebadge-sandbox run FILE...\n");
  return 2;
}
