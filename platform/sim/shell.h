// The simulated desktop's shell: what was asked to be opened.
#pragma once

#include <string>
#include <vector>

#include "platform/shell.h"
#include "platform/sim/faults.h"

namespace tb::sim {

struct ShellOpen {
  std::u16string verb;  // empty for none
  std::u16string file;
  std::u16string directory;
  int show = 0;
};

class SimShell final : public platform::Shell {
 public:
  explicit SimShell(Faults& faults) : faults_(faults) {}
  std::intptr_t ShellExecute(platform::Hwnd owner, const char16_t* verb, const std::u16string& file,
                             const char16_t* parameters, const char16_t* directory,
                             int show) override;
  [[nodiscard]] const std::vector<ShellOpen>& Opened() const { return opened_; }

 private:
  Faults& faults_;
  std::vector<ShellOpen> opened_;
};

}  // namespace tb::sim
