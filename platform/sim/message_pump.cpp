#include "platform/sim/message_pump.h"

namespace tb::sim {

void SimMessagePump::DispatchPending() {
  if (faults_.Enter("DispatchMessage")) {
    return;
  }
  timer_.Advance(0);
}

void SimMessagePump::WaitForMessage(std::uint32_t timeoutMs) {
  if (faults_.Enter("MsgWaitForMultipleObjects")) {
    return;
  }
  timer_.Advance(timeoutMs);
}

}  // namespace tb::sim
