// Synthesised key strokes, delivered to the foreground window.
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
};

}  // namespace tb::platform
