#include "platform/sim/keyboard.h"

namespace tb::sim {

std::uint32_t SimKeyboard::SendInput(const std::vector<platform::KeyInput>& keys) {
  if (faults_.Enter("SendInput")) {
    return 0;
  }
  for (const auto& key : keys) {
    windows_.QueueInput(key);
  }
  return static_cast<std::uint32_t>(keys.size());
}

}  // namespace tb::sim
