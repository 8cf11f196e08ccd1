#include "platform/win32/message_pump.h"

#include <windows.h>

namespace tb::win32 {

void Win32MessagePump::DispatchPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32MessagePump::WaitForMessage(std::uint32_t timeoutMs) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs, QS_ALLINPUT);
}

bool Win32MessagePump::InputPending() { return HIWORD(GetQueueStatus(QS_INPUT)) != 0; }

}  // namespace tb::win32
