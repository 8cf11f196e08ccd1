// The plug-in's dialogs on the simulated desktop: the user's actions in the
// next options dialog or about box are given in advance, and played when the
// plug-in shows it; every dialog shown is recorded by its caption.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/sim/desktop.h"
#include "plugin/dialogs/dialogs.h"
#include "tools/scenario/world.h"

namespace tb::sandbox {

class SimDialogs final : public Dialogs {
 public:
  explicit SimDialogs(sim::SimDesktop& desktop) : desktop_(desktop) {}

  bool ShowOptions(platform::Hwnd owner, FrmOptions& form) override;
  bool ShowAbout(platform::Hwnd owner, FrmAbout& form) override;

  void Queue(scenario::DialogStep step) { steps_.push_back(std::move(step)); }
  [[nodiscard]] const std::vector<std::u16string>& Shown() const { return shown_; }

 private:
  sim::SimDesktop& desktop_;
  std::deque<scenario::DialogStep> steps_;
  std::vector<std::u16string> shown_;
};

}  // namespace tb::sandbox
