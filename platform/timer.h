// Thread timers and the millisecond tick count (user32 and kernel32).
#pragma once

#include <cstdint>
#include <functional>

namespace tb::platform {

// What a timer runs. The system's callback arguments (window, message,
// identifier, time) carry nothing the plug-in uses, so they are not passed on.
using TimerProc = std::function<void()>;

class Timer {
 public:
  virtual ~Timer() = default;

  // SetTimer(NULL, 0, intervalMs, proc): a thread timer with no window; the
  // system picks the identifier. Answers 0 when no timer could be made.
  virtual std::uintptr_t SetTimer(std::uint32_t intervalMs, TimerProc proc) = 0;
  // GetTickCount
  virtual std::uint32_t GetTickCount() = 0;
};

}  // namespace tb::platform
