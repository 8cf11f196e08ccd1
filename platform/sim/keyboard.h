// The simulated desktop's keyboard: synthesised key strokes queue for the
// window that has the focus and reach it when messages are dispatched. The
// time of the last input is the last synthesised key stroke's or the
// user's own, on the virtual clock; at the start the user has been idle for
// an hour.
#pragma once

#include "platform/keyboard.h"
#include "platform/sim/faults.h"
#include "platform/sim/timer.h"
#include "platform/sim/windows.h"

namespace tb::sim {

class SimKeyboard final : public platform::Keyboard {
 public:
  SimKeyboard(Faults& faults, SimTimer& timer, SimWindows& windows)
      : faults_(faults), timer_(timer), windows_(windows) {}

  // The user presses and releases a key in the window in front, now.
  void UserTypes();

  std::uint32_t SendInput(const std::vector<platform::KeyInput>& keys) override;
  bool GetLastInputInfo(std::uint32_t* tickCount) override;

 private:
  static constexpr std::uint32_t kIdleAtStartMs = 3600000;

  Faults& faults_;
  SimTimer& timer_;
  SimWindows& windows_;
  std::uint32_t lastInput_ = 0U - kIdleAtStartMs;
};

}  // namespace tb::sim
