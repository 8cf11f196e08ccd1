// The simulated desktop's clock and thread timers. Time is virtual: it moves
// only when the desktop is told to let time pass (the host's message loop),
// or when the plug-in waits for messages, so every run replays identically.
#pragma once

#include <cstdint>
#include <map>

#include "platform/sim/faults.h"
#include "platform/timer.h"

namespace tb::sim {

class SimTimer final : public platform::Timer {
 public:
  explicit SimTimer(Faults& faults) : faults_(faults) {}

  std::uintptr_t SetTimer(std::uint32_t intervalMs, platform::TimerProc proc) override;
  std::uint32_t GetTickCount() override;

  // Lets `ms` milliseconds pass, running each timer's callback as its time
  // comes. A timer that fell behind fires once, as WM_TIMER is never queued
  // twice. Callbacks may let time pass themselves (nested waits).
  void Advance(std::uint32_t ms);
  // Lets time pass while the thread dispatches nothing (a blocking call): a
  // timer that comes due fires at the next Advance.
  void Pass(std::uint32_t ms) { now_ += ms; }
  // How long until the next timer is due (0 when one is due now); `limit`
  // when none is due sooner.
  [[nodiscard]] std::uint32_t UntilNextDue(std::uint32_t limit) const;

  [[nodiscard]] std::size_t Count() const { return timers_.size(); }
  [[nodiscard]] std::uint64_t Now() const { return now_; }
  // How many timer callbacks have run.
  [[nodiscard]] std::uint64_t Fired() const { return fired_; }
  // The virtual time of the longest callback that the host's loop ran,
  // callbacks nested inside it included, in milliseconds.
  [[nodiscard]] std::uint64_t LongestCallbackMs() const { return longestCallback_; }

 private:
  struct Entry {
    std::uint32_t interval;
    std::uint64_t due;
    platform::TimerProc proc;
  };

  Faults& faults_;
  std::map<std::uintptr_t, Entry> timers_;
  std::uint64_t now_ = 0;
  std::uint64_t fired_ = 0;
  std::uint64_t longestCallback_ = 0;
  int depth_ = 0;
  std::uintptr_t nextId_ = 0x7FF0;
};

}  // namespace tb::sim
