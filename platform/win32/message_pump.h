// The message-pump seam on real Windows: the calling thread's queue (user32).
#pragma once

#include "platform/message_pump.h"

namespace tb::win32 {

class Win32MessagePump final : public platform::MessagePump {
 public:
  void DispatchPending() override;
  void WaitForMessage(std::uint32_t timeoutMs) override;
  bool InputPending() override;
};

}  // namespace tb::win32
