// The real windows a scenario opens, and the threads they live on.
//
// A player's window lives on a thread of its own with its own message loop,
// as it would in the player's own process, so that it can stop answering
// (hang) while the plug-in's thread goes on. The conversation windows live on
// the plug-in's thread, as Messenger's do. The ledger remembers every
// top-level window in the order it was made, so that "the newest window of a
// class" means what it means on the simulated desktop.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/win32/support/critical_section.h"

namespace tb::test {

// How long a step waits for another thread to do what it was asked.
inline constexpr DWORD kThreadTaskBoundMs = 5000;

class WindowThread;

struct LedgerEntry {
  HWND window = nullptr;
  std::u16string className;
  // The thread that owns the window; null for a window of the plug-in's
  // thread.
  WindowThread* thread = nullptr;
};

// Every top-level window made for a scenario, oldest first. Window threads
// add the dialogs they open, so it is shared between threads.
class WindowLedger {
 public:
  WindowLedger() = default;
  WindowLedger(const WindowLedger&) = delete;
  WindowLedger& operator=(const WindowLedger&) = delete;
  WindowLedger(WindowLedger&&) = delete;
  WindowLedger& operator=(WindowLedger&&) = delete;
  ~WindowLedger() = default;

  void Add(HWND window, const std::u16string& className, WindowThread* thread);
  // The newest window of the class (compared without regard to case, as
  // Windows compares class names) that still exists; with `title`, the
  // newest that also has that title.
  [[nodiscard]] std::optional<LedgerEntry> Newest(const std::u16string& className,
                                                  const std::u16string* title = nullptr) const;

 private:
  mutable CriticalSection lock_;
  std::vector<LedgerEntry> entries_;
};

// Class names as Windows compares them.
bool SameClassName(const std::u16string& a, const std::u16string& b);

// Every stand-in window counts the Alt+0 key strokes it receives
// (WM_SYSKEYDOWN of the 0 key with Alt held), in a window property that any
// thread can read.
void CountAltZero(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
int AltZeroKeysOf(HWND window);

// A window's title without sending it a message, so a hung window's title
// can be read too.
std::u16string TitleOf(HWND window);

// Waits until `done` holds, at most `boundMs`, meanwhile answering the
// messages other threads send to this thread's windows but dispatching
// nothing that was posted: no timer of the plug-in runs. Answers whether
// `done` held.
bool WaitAnsweringSent(const std::function<bool()>& done, DWORD boundMs);

// A thread with its own message loop. Whatever it is asked to do runs on it
// between messages, even while it is hung; while hung it takes no message at
// all, so messages sent to its windows time out.
class WindowThread {
 public:
  WindowThread();
  // Destroys the thread's windows and ends it; the wait for that is bounded.
  ~WindowThread();
  WindowThread(const WindowThread&) = delete;
  WindowThread& operator=(const WindowThread&) = delete;
  WindowThread(WindowThread&&) = delete;
  WindowThread& operator=(WindowThread&&) = delete;

  // Whether the thread started.
  [[nodiscard]] bool Running() const { return thread_ != nullptr; }
  // Runs `task` on the thread and waits until it has run, at most
  // kThreadTaskBoundMs; false when it did not run in time. The task must own
  // what it uses: it may still run after a wait that gave up.
  bool Run(std::function<void()> task);
  // Stops (or starts again) taking messages.
  bool Hang(bool hung);

 private:
  struct Task {
    std::function<void()> work;
    std::shared_ptr<void> done;  // an event handle, closed when the last owner goes
  };

  static DWORD WINAPI Main(void* self);
  void Loop();
  void RunTasks();

  HANDLE thread_ = nullptr;
  HANDLE wake_ = nullptr;
  CriticalSection lock_;
  std::deque<Task> tasks_;
  // Touched only on the thread.
  bool hung_ = false;
  DWORD hungSince_ = 0;
  bool quit_ = false;
};

}  // namespace tb::test
