// A user at the dialogs, played from a thread timer: the modal loops of the
// dialogs and of their message boxes dispatch it, as they dispatch the
// plug-in's poll timer. Each step waits for a dialog box of this thread with
// the given caption to be shown and enabled, then acts on it, the way a user
// would: clicks, typing, keys. Every wait is bounded: a script that does not
// finish in time is reported and every dialog box of the thread is closed.
#pragma once

#include "platform/win32/win32_api.h"

#include <functional>
#include <string>
#include <vector>

#include "tests/support/check_log.h"

namespace tb::test {

class ScriptedUser {
 public:
  using Action = std::function<void(HWND window)>;

  ScriptedUser(CheckLog& log, std::string name) : log_(log), name_(std::move(name)) {}
  ~ScriptedUser() { Stop(); }
  ScriptedUser(const ScriptedUser&) = delete;
  ScriptedUser& operator=(const ScriptedUser&) = delete;
  ScriptedUser(ScriptedUser&&) = delete;
  ScriptedUser& operator=(ScriptedUser&&) = delete;

  // Once a dialog box captioned `caption` is up, `action` on it.
  ScriptedUser& Then(const std::u16string& caption, Action action);
  // The next step waits `ms` more.
  ScriptedUser& Pause(DWORD ms);

  // Starts playing; the caller then shows the dialog and, once it is gone,
  // calls Finish, which reports a script that did not reach its end.
  void Start();
  void Finish();

 private:
  struct Step {
    std::u16string caption;
    Action action;
    DWORD pauseMs = 0;
  };

  static void CALLBACK Tick(HWND window, UINT message, UINT_PTR id, DWORD time);
  void Play();
  void Stop();
  void CloseEverything() const;

  CheckLog& log_;
  std::string name_;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  UINT_PTR timer_ = 0;
  DWORD started_ = 0;
  DWORD stepSince_ = 0;
  DWORD overdueSince_ = 0;
  bool overdue_ = false;
};

// The visible, enabled dialog box of this thread with that caption; null
// when there is none.
HWND FindDialog(const std::u16string& caption);

// A window's text.
std::u16string TextOf(HWND window);

// Presses a key in the focused control, through the thread's queue, as the
// keyboard does.
void PressKey(UINT virtualKey);

// A mouse click on a control, at its top-left corner.
void Click(HWND control);

}  // namespace tb::test
