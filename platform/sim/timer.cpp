#include "platform/sim/timer.h"

#include <algorithm>
#include <utility>

namespace tb::sim {

std::uintptr_t SimTimer::SetTimer(std::uint32_t intervalMs, platform::TimerProc proc) {
  if (faults_.Enter("SetTimer")) {
    return 0;
  }
  const std::uintptr_t id = ++nextId_;
  timers_.emplace(id, Entry{intervalMs, now_ + intervalMs, std::move(proc)});
  return id;
}

std::uint32_t SimTimer::GetTickCount() { return static_cast<std::uint32_t>(now_); }

std::uint32_t SimTimer::UntilNextDue(std::uint32_t limit) const {
  std::uint64_t until = limit;
  for (const auto& [id, entry] : timers_) {
    until = std::min(until, entry.due > now_ ? entry.due - now_ : 0);
  }
  return static_cast<std::uint32_t>(until);
}

void SimTimer::Advance(std::uint32_t ms) {
  const std::uint64_t until = now_ + ms;
  for (;;) {
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
      if (it->second.due <= until && (next == timers_.end() || it->second.due < next->second.due)) {
        next = it;
      }
    }
    if (next == timers_.end()) {
      break;
    }
    now_ = std::max(now_, next->second.due);
    // The next firing is one interval after this one, however late it is.
    next->second.due = now_ + std::max<std::uint32_t>(next->second.interval, 1);
    const platform::TimerProc proc = next->second.proc;
    ++fired_;
    const std::uint64_t started = now_;
    ++depth_;
    proc();
    if (--depth_ == 0) {
      longestCallback_ = std::max(longestCallback_, now_ - started);
    }
  }
  now_ = std::max(now_, until);
}

}  // namespace tb::sim
