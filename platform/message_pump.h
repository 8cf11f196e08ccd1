// The calling thread's message queue.
#pragma once

#include <cstdint>

namespace tb::platform {

class MessagePump {
 public:
  virtual ~MessagePump() = default;

  // PeekMessageW(PM_REMOVE), TranslateMessage and DispatchMessageW until the
  // queue is empty: timer callbacks and window procedures may run inside.
  virtual void DispatchPending() = 0;
  // MsgWaitForMultipleObjects(0, NULL, FALSE, timeoutMs, QS_ALLINPUT): waits
  // for a message to arrive, at most timeoutMs.
  virtual void WaitForMessage(std::uint32_t timeoutMs) = 0;
  // GetQueueStatus(QS_INPUT): whether keyboard or mouse input waits in the
  // queue.
  virtual bool InputPending() = 0;
};

}  // namespace tb::platform
