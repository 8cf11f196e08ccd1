// The simulated desktop's keyboard: synthesised key strokes queue for the
// window that has the focus and reach it when messages are dispatched.
#pragma once

#include "platform/keyboard.h"
#include "platform/sim/faults.h"
#include "platform/sim/windows.h"

namespace tb::sim {

class SimKeyboard final : public platform::Keyboard {
 public:
  SimKeyboard(Faults& faults, SimWindows& windows) : faults_(faults), windows_(windows) {}

  std::uint32_t SendInput(const std::vector<platform::KeyInput>& keys) override;

 private:
  Faults& faults_;
  SimWindows& windows_;
};

}  // namespace tb::sim
