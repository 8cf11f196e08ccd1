// The simulated desktop's Windows Script Host: WScript.Shell's RegWrite
// writes into the simulated registry.
#pragma once

#include "platform/script_shell.h"
#include "platform/sim/faults.h"
#include "platform/sim/registry.h"

namespace tb::sim {

class SimScriptShell final : public platform::ScriptShell {
 public:
  SimScriptShell(Faults& faults, SimRegistry& registry) : faults_(faults), registry_(registry) {}
  platform::HResult CreateScriptShell(
      std::unique_ptr<platform::ScriptShellObject>* object) override;

  // False while Windows Script Host is not installed.
  bool installed = true;

 private:
  Faults& faults_;
  SimRegistry& registry_;
};

}  // namespace tb::sim
