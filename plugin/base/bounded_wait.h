// A wait with a time bound, for loops that poll for something the thread
// does not control (a dialog to appear, the focus to move, keys to be
// processed). The bound holds by the clock, and by a count of pauses as well,
// so a loop ends even when the clock stands still.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace tb {

inline constexpr std::uint32_t kWaitSliceMs = 10;

class BoundedWait {
 public:
  BoundedWait(platform::Platform& platform, std::uint32_t boundMs)
      : platform_(platform),
        boundMs_(boundMs),
        start_(platform.timer.GetTickCount()),
        pausesLeft_(boundMs / kWaitSliceMs * 4 + 4) {}

  [[nodiscard]] std::uint32_t Elapsed() const { return platform_.timer.GetTickCount() - start_; }
  [[nodiscard]] bool Expired() const { return Elapsed() >= boundMs_ || pausesLeft_ == 0; }

  // Waits one slice for a message to arrive, without dispatching it.
  void Pause() {
    if (pausesLeft_ > 0) {
      --pausesLeft_;
    }
    platform_.messagePump.WaitForMessage(kWaitSliceMs);
  }

 private:
  platform::Platform& platform_;
  std::uint32_t boundMs_;
  std::uint32_t start_;
  std::uint32_t pausesLeft_;
};

}  // namespace tb
