#include "platform/win32/timer.h"

#include <windows.h>

#include <map>
#include <utility>
#include <vector>

namespace tb::win32 {
namespace {

// Thread timers are the calling thread's: the same identifier may belong to
// another thread's timer, so the thread is part of the key.
using TimerKey = std::pair<DWORD, UINT_PTR>;

struct TimerEntry {
  const Win32Timer* owner;
  platform::TimerProc proc;
};

std::map<TimerKey, TimerEntry>& Table() {
  static std::map<TimerKey, TimerEntry> table;
  return table;
}

VOID CALLBACK Trampoline(HWND /*window*/, UINT /*message*/, UINT_PTR id, DWORD /*time*/) {
  const auto found = Table().find({GetCurrentThreadId(), id});
  if (found == Table().end()) {
    return;
  }
  // A copy: the callback runs whole even if its entry goes meanwhile.
  const platform::TimerProc proc = found->second.proc;
  proc();
}

}  // namespace

Win32Timer::~Win32Timer() {
  std::vector<TimerKey> mine;
  for (auto it = Table().begin(); it != Table().end();) {
    if (it->second.owner == this) {
      mine.push_back(it->first);
      it = Table().erase(it);
    } else {
      ++it;
    }
  }
  for (const auto& [thread, id] : mine) {
    // Only the thread that made a thread timer can kill it; elsewhere the
    // call fails, and the emptied entry keeps the trampoline from running.
    if (thread == GetCurrentThreadId()) {
      ::KillTimer(nullptr, id);
    }
  }
}

std::uintptr_t Win32Timer::SetTimer(std::uint32_t intervalMs, platform::TimerProc proc) {
  const UINT_PTR id = ::SetTimer(nullptr, 0, intervalMs, Trampoline);
  if (id != 0) {
    Table().insert_or_assign({GetCurrentThreadId(), id}, TimerEntry{this, std::move(proc)});
  }
  return id;
}

std::uint32_t Win32Timer::GetTickCount() { return ::GetTickCount(); }

}  // namespace tb::win32
