// The keyboard seam on real Windows: SendInput and GetLastInputInfo.
#pragma once

#include "platform/keyboard.h"

namespace tb::win32 {

class Win32Keyboard final : public platform::Keyboard {
 public:
  std::uint32_t SendInput(const std::vector<platform::KeyInput>& keys) override;
  bool GetLastInputInfo(std::uint32_t* tickCount) override;
};

}  // namespace tb::win32
