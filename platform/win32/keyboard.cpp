#include "platform/win32/keyboard.h"

#include "platform/win32/win32_api.h"

namespace tb::win32 {

std::uint32_t Win32Keyboard::SendInput(const std::vector<platform::KeyInput>& keys) {
  std::vector<INPUT> inputs(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = keys[i].virtualKey;
    inputs[i].ki.dwFlags = keys[i].keyUp ? KEYEVENTF_KEYUP : 0;
  }
  return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool Win32Keyboard::GetLastInputInfo(std::uint32_t* tickCount) {
  LASTINPUTINFO info{};
  info.cbSize = sizeof(info);
  if (::GetLastInputInfo(&info) == FALSE) {
    return false;
  }
  *tickCount = info.dwTime;
  return true;
}

}  // namespace tb::win32
