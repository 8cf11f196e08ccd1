#include "tools/sandbox/sim_dialogs.h"

#include "plugin/dialogs/frm_about.h"
#include "plugin/dialogs/frm_options.h"

namespace tb::sandbox {
namespace {

// A modal dialog's window: a handle the plug-in can own boxes with.
constexpr platform::Hwnd kDialogWindow = 0x7E000;

}  // namespace

bool SimDialogs::ShowOptions(platform::Hwnd /*owner*/, FrmOptions& form) {
  if (desktop_.faults.Enter("DialogBoxIndirectParamW")) {
    return false;
  }
  shown_.emplace_back(kOptionsCaption);
  form.window = kDialogWindow;
  while (!form.unloaded) {
    if (steps_.empty()) {
      form.Close();  // nothing more to do: the user closes it
      break;
    }
    const scenario::DialogStep action = steps_.front();
    steps_.pop_front();
    switch (action.kind) {
      case scenario::DialogStep::kSelect:
        form.Choose(static_cast<PlayerChoice>(action.player + 1));
        break;
      case scenario::DialogStep::kText:
        form.templates.at(static_cast<std::size_t>(action.player)).text = action.text;
        break;
      case scenario::DialogStep::kSave:
        form.Save();
        break;
      case scenario::DialogStep::kHelp:
        form.Help();
        break;
      case scenario::DialogStep::kEscape:
        break;  // no Cancel button: Esc is let by
      default:
        form.Close();
        break;
    }
  }
  return true;
}

bool SimDialogs::ShowAbout(platform::Hwnd /*owner*/, FrmAbout& form) {
  if (desktop_.faults.Enter("DialogBoxIndirectParamW")) {
    return false;
  }
  shown_.push_back(form.caption);
  form.window = kDialogWindow + 4;
  // The box's one-shot timer comes a second after it opens; the poll
  // timer goes on ticking meanwhile, as a modal loop dispatches it.
  desktop_.timer.Advance(kAboutTimerMs);
  form.TimerElapsed();
  while (!form.unloaded) {
    if (steps_.empty()) {
      form.KeyPress(27);  // Esc
      break;
    }
    const scenario::DialogStep action = steps_.front();
    steps_.pop_front();
    switch (action.kind) {
      case scenario::DialogStep::kSysInfo:
        form.StartSysInfo();
        break;
      case scenario::DialogStep::kEmail:
        form.OpenEmail();
        break;
      case scenario::DialogStep::kWeb:
        form.OpenSite();
        break;
      default:
        form.Ok();
        break;
    }
  }
  return true;
}

}  // namespace tb::sandbox
