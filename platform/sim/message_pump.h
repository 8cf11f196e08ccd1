// The simulated desktop's message queue: dispatching runs what is due; a
// wait lets virtual time pass.
#pragma once

#include "platform/message_pump.h"
#include "platform/sim/faults.h"
#include "platform/sim/timer.h"

namespace tb::sim {

class SimMessagePump final : public platform::MessagePump {
 public:
  SimMessagePump(Faults& faults, SimTimer& timer) : faults_(faults), timer_(timer) {}

  void DispatchPending() override;
  void WaitForMessage(std::uint32_t timeoutMs) override;

 private:
  Faults& faults_;
  SimTimer& timer_;
};

}  // namespace tb::sim
