// The simulated desktop's modal dialogs: the user's actions in the next
// options dialog or about box are given in advance, and played when the
// plug-in shows it; every dialog shown is recorded by its caption.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/sim/faults.h"
#include "platform/sim/timer.h"

namespace tb::sim {

struct DialogAction {
  enum Kind {
    kSelect,   // click the option button of a player
    kText,     // type a template into a player's box
    kSave,     // "Save!!!"
    kHelp,     // "Help"
    kClose,    // the title bar's close button, or Esc
    kOk,       // the about box's "OK"
    kSysInfo,  // "System Info"
    kEmail,    // the e-mail link
    kWeb,      // the web-site link
  };
  Kind kind = kClose;
  int player = 0;  // 0 Winamp, 1 MUSICMATCH Jukebox, 2 Windows Media Player
  std::u16string text;
};

class SimDialogs final : public platform::Dialogs {
 public:
  SimDialogs(Faults& faults, SimTimer& timer) : faults_(faults), timer_(timer) {}

  void ShowOptions(platform::Hwnd owner, FrmOptions& form) override;
  void ShowAbout(platform::Hwnd owner, FrmAbout& form) override;

  void Queue(DialogAction action) { actions_.push_back(std::move(action)); }
  [[nodiscard]] const std::vector<std::u16string>& Shown() const { return shown_; }

 private:
  Faults& faults_;
  SimTimer& timer_;
  std::deque<DialogAction> actions_;
  std::vector<std::u16string> shown_;
};

}  // namespace tb::sim
