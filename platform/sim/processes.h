// The simulated desktop's processes: a program starts when its file exists in
// the simulated file system; what was started is recorded.
#pragma once

#include <string>
#include <vector>

#include "platform/module.h"
#include "platform/processes.h"
#include "platform/sim/faults.h"
#include "platform/sim/files.h"

namespace tb::sim {

struct Started {
  std::u16string commandLine;
  int show = 0;
};

class SimProcesses final : public platform::Processes {
 public:
  SimProcesses(Faults& faults, SimFiles& files) : faults_(faults), files_(files) {}

  bool StartProcess(const std::u16string& commandLine, int show) override;
  std::u16string GetModuleFileName() override;

  // The running program's own path.
  std::u16string modulePath = u"C:\\Program Files\\Tunebadge\\setup.exe";
  [[nodiscard]] const std::vector<Started>& StartedPrograms() const { return started_; }

 private:
  Faults& faults_;
  SimFiles& files_;
  std::vector<Started> started_;
};

class SimModule final : public platform::Module {
 public:
  explicit SimModule(Faults& faults) : faults_(faults) {}
  bool GetVersion(platform::ModuleVersion* version) override;

  platform::ModuleVersion version{1, 0, 0, 0};

 private:
  Faults& faults_;
};

}  // namespace tb::sim
