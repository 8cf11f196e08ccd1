// The simulated desktop's message queue: dispatching runs the window
// procedures for what was posted or typed, and the timers that are due; a
// wait lets virtual time pass.
#pragma once

#include "platform/message_pump.h"
#include "platform/sim/faults.h"
#include "platform/sim/timer.h"
#include "platform/sim/windows.h"

namespace tb::sim {

class SimMessagePump final : public platform::MessagePump {
 public:
  SimMessagePump(Faults& faults, SimTimer& timer, SimWindows& windows)
      : faults_(faults), timer_(timer), windows_(windows) {}

  void DispatchPending() override;
  void WaitForMessage(std::uint32_t timeoutMs) override;
  bool InputPending() override;

 private:
  Faults& faults_;
  SimTimer& timer_;
  SimWindows& windows_;
};

}  // namespace tb::sim
