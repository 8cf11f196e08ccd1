#include "platform/sim/keyboard.h"

namespace tb::sim {
namespace {

constexpr std::uint16_t kVkA = 0x41;

}  // namespace

void SimKeyboard::UserTypes() {
  windows_.QueueInput({kVkA, false});
  windows_.QueueInput({kVkA, true});
  lastInput_ = static_cast<std::uint32_t>(timer_.Now());
}

std::uint32_t SimKeyboard::SendInput(const std::vector<platform::KeyInput>& keys) {
  if (faults_.Enter("SendInput")) {
    return 0;
  }
  for (const auto& key : keys) {
    windows_.QueueInput(key);
  }
  lastInput_ = static_cast<std::uint32_t>(timer_.Now());
  return static_cast<std::uint32_t>(keys.size());
}

bool SimKeyboard::GetLastInputInfo(std::uint32_t* tickCount) {
  if (faults_.Enter("GetLastInputInfo")) {
    return false;
  }
  *tickCount = lastInput_;
  return true;
}

}  // namespace tb::sim
