// Synthesised key strokes, delivered to the foreground window, and the time
// of the session's last input.
#pragma once

#include <cstdint>
#include <vector>

namespace tb::platform {

inline constexpr std::uint16_t kVkMenu = 0x12;  // Alt

struct KeyInput {
  std::uint16_t virtualKey = 0;
  bool keyUp = false;
};

class Keyboard {
 public:
  virtual ~Keyboard() = default;
  // SendInput of keyboard events; answers how many were inserted.
  virtual std::uint32_t SendInput(const std::vector<KeyInput>& keys) = 0;
  // GetLastInputInfo: the tick count (GetTickCount's clock) of the
  // session's last input event, a program's own SendInput included; false
  // when it cannot be read.
  virtual bool GetLastInputInfo(std::uint32_t* tickCount) = 0;
};

}  // namespace tb::platform
