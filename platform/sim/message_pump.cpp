#include "platform/sim/message_pump.h"

namespace tb::sim {

void SimMessagePump::DispatchPending() {
  if (faults_.Enter("DispatchMessageW")) {
    return;
  }
  windows_.DeliverQueued();
  timer_.Advance(0);
}

void SimMessagePump::WaitForMessage(std::uint32_t timeoutMs) {
  if (faults_.Enter("MsgWaitForMultipleObjects")) {
    return;
  }
  // A message already waiting ends the wait at once; a timer coming due
  // ends it then. Nothing is dispatched while waiting.
  if (!windows_.MessagesPending()) {
    timer_.Pass(timer_.UntilNextDue(timeoutMs));
  }
}

bool SimMessagePump::InputPending() {
  if (faults_.Enter("GetQueueStatus")) {
    return false;
  }
  return windows_.InputPending();
}

}  // namespace tb::sim
