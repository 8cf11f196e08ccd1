// Plays scenario steps against a desktop (a World), printing each step and
// what the user's contacts see, and checking the expectations. The same
// player serves the simulated desktop and real Windows.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/scenario/scenario.h"
#include "tools/scenario/world.h"

namespace tb::scenario {

struct Failure {
  int line = 0;
  std::string message;
};

// The exit status of a file that asked for another desktop, as CTest's
// SKIP_RETURN_CODE takes it.
inline constexpr int kSkippedStatus = 77;

class Runner {
 public:
  // Prints to `out`; a null `out` runs quietly.
  Runner(World& world, std::FILE* out) : world_(world), out_(out) {}

  // Runs the steps in order; an expectation that fails is recorded and the
  // run goes on, a step that cannot be run at all ends it, and so does a
  // failed call unless the next step expects it. A file whose `requires`
  // names another desktop ends there, skipped.
  void Run(const std::vector<Step>& steps);
  [[nodiscard]] const std::vector<Failure>& Failures() const { return failures_; }
  [[nodiscard]] bool Skipped() const { return skipped_; }
  // Calls `check` after each step played. A player that checks after each
  // step takes a failed call as one of the host's answers, not as the end.
  void AfterEachStep(std::function<void(const Step&)> check) { afterEachStep_ = std::move(check); }

  // Every step the player knows, as docs/scenario-language.md writes it.
  [[nodiscard]] static std::vector<std::string> Forms();

 private:
  struct Verb;
  // The verbs and expectations: one entry each, from the table of each area:
  // the file, the registry, the user and files; the host and Messenger;
  // windows and players; dialogs; the installer; and what is expected of the
  // host (message boxes too) and of the rest of the desktop.
  static const std::vector<Verb>& Verbs();
  static std::vector<Verb> WorldVerbs();
  static std::vector<Verb> HostVerbs();
  static std::vector<Verb> PlayerVerbs();
  static std::vector<Verb> DialogVerbs();
  static std::vector<Verb> InstallerVerbs();
  static std::vector<Verb> HostExpectations();
  static std::vector<Verb> DesktopExpectations();

  void RunStep(const Step& step);
  // Whether the step is `expect result failed`.
  static bool ExpectsFailedCall(const Step& step);
  // Records the pending failed call as the reason the file ends.
  void EndWithFailedCall();
  void Check(bool holds, const std::string& expected, const std::string& actual);
  void Say(const std::string& text);

  World& world_;
  std::FILE* out_;
  bool first_ = true;
  bool loadTried_ = false;
  bool skipped_ = false;
  int line_ = 0;
  // "true", "false" or "failed"; nothing before the first call.
  std::optional<std::string> lastResult_;
  // A failed call that only the next step may expect.
  std::optional<Failure> failedCall_;
  std::u16string lastSResult_;
  std::size_t boxesChecked_ = 0;
  std::size_t dialogsChecked_ = 0;
  std::u16string shownName_;
  std::vector<Failure> failures_;
  std::function<void(const Step&)> afterEachStep_;
};

// Reads and parses a scenario file; says why on stderr and answers nothing
// when it cannot.
std::optional<std::vector<Step>> ReadScenarioFile(const char* path);

// Prints a run's failures on stderr as "FILE:LINE: message" and answers the
// exit status for the file: 0, 1, or kSkippedStatus.
int ReportRun(const char* path, const Runner& runner);

}  // namespace tb::scenario
