// Plays scenario steps on the simulated desktop against the real plug-in
// code, printing each step and what the user's contacts see.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/desktop.h"
#include "plugin/core/nick.h"
#include "plugin/core/plugin.h"
#include "tools/scenario/scenario.h"

namespace tb::sandbox {

struct Failure {
  int line = 0;
  std::string message;
};

class SimRunner {
 public:
  // Prints to `out`; a null `out` runs quietly.
  explicit SimRunner(std::FILE* out) : out_(out) {}

  // Runs the steps in order; an expectation that fails is recorded and the
  // run goes on, a step that cannot be run at all ends it.
  void Run(const std::vector<scenario::Step>& steps);
  [[nodiscard]] const std::vector<Failure>& Failures() const { return failures_; }

  sim::SimDesktop& Desktop() { return desktop_; }

 private:
  void RunStep(const scenario::Step& step);
  void Expect(const scenario::Step& step);
  void Check(bool holds, const std::string& expected, const std::string& actual);
  Nick& RequireNick();
  void Say(const std::string& text);

  std::FILE* out_;
  sim::SimDesktop desktop_;
  Plugin plugin_{desktop_.Platform()};
  std::optional<Nick> nick_;
  bool loadTried_ = false;
  int line_ = 0;
  std::optional<bool> lastResult_;
  std::u16string lastSResult_;
  std::size_t boxesChecked_ = 0;
  std::size_t dialogsChecked_ = 0;
  std::u16string shownName_;
  std::vector<Failure> failures_;
};

}  // namespace tb::sandbox
