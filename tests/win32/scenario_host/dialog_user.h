// The user at the plug-in's own dialogs on the real desktop: the actions for
// the next options dialog or about box are given in advance and played once
// the dialog is up, from a thread timer that its modal loop dispatches, the
// way a user would: clicks on the buttons, text typed into the boxes, Esc.
// Every dialog shown is recorded by its caption. When the actions run out
// the dialog is closed, as on the simulated desktop; a dialog that does not
// end then is ended by force and reported.
#pragma once

#include <windows.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "tools/scenario/world.h"

namespace tb::test {

// Whether a window is one of the plug-in's dialogs (and so no message box,
// though the about box has an OK button too).
bool IsPluginDialog(HWND window);

class DialogUser {
 public:
  DialogUser();
  ~DialogUser();
  DialogUser(const DialogUser&) = delete;
  DialogUser& operator=(const DialogUser&) = delete;
  DialogUser(DialogUser&&) = delete;
  DialogUser& operator=(DialogUser&&) = delete;

  [[nodiscard]] bool Watching() const { return hook_ != nullptr; }
  void Queue(const scenario::DialogStep& step) { steps_.push_back(step); }
  [[nodiscard]] const std::vector<std::u16string>& Shown() const { return shown_; }
  // What went wrong with a dialog since the last call, once.
  std::optional<std::string> TakeTrouble();

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam);
  static void CALLBACK Due(HWND window, UINT message, UINT_PTR id, DWORD time);
  void OnActivate(HWND window);
  void Play();
  // One action on the dialog.
  static void Act(HWND dialog, bool options, const scenario::DialogStep& step);

  HHOOK hook_ = nullptr;
  UINT_PTR timer_ = 0;
  HWND dialog_ = nullptr;
  std::deque<scenario::DialogStep> steps_;
  std::vector<std::u16string> shown_;
  std::optional<std::string> trouble_;
};

}  // namespace tb::test
