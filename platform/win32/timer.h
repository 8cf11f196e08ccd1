// The timer seam on real Windows: thread timers (user32 SetTimer with no
// window) and kernel32 GetTickCount.
//
// A TIMERPROC carries no context, so the timers made here are kept in a
// process-wide table, keyed by thread and identifier, that one trampoline
// looks up when the system calls it. An adapter that goes away kills the
// timers it made, so no WM_TIMER can reach a callback that no longer exists.
//
// The table takes no lock: an adapter is made, used and destroyed on one
// thread, and a thread timer's WM_TIMER reaches only the thread that made
// it, so the trampoline runs on that thread too.
#pragma once

#include "platform/timer.h"

namespace tb::win32 {

class Win32Timer final : public platform::Timer {
 public:
  Win32Timer() = default;
  Win32Timer(const Win32Timer&) = delete;
  Win32Timer& operator=(const Win32Timer&) = delete;
  Win32Timer(Win32Timer&&) = delete;
  Win32Timer& operator=(Win32Timer&&) = delete;
  ~Win32Timer() override;

  std::uintptr_t SetTimer(std::uint32_t intervalMs, platform::TimerProc proc) override;
  std::uint32_t GetTickCount() override;
};

}  // namespace tb::win32
