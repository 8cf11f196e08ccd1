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
  bool* const options[] = {&form.Option3, &form.Option4, &form.Option5};
  TemplateBox* const boxes[] = {&form.Text3, &form.Text5, &form.Text6};
  while (!form.unloaded) {
    if (steps_.empty()) {
      form.Close();  // nothing more to do: the user closes it
      break;
    }
    const scenario::DialogStep action = steps_.front();
    steps_.pop_front();
    switch (action.kind) {
      case scenario::DialogStep::kSelect:
        for (int i = 0; i < 3; ++i) {
          *options[i] = i == action.player;
        }
        if (action.player == 0) {
          form.Option3_Click();
        } else if (action.player == 1) {
          form.Option4_Click();
        } else {
          form.Option5_Click();
        }
        break;
      case scenario::DialogStep::kText:
        boxes[action.player]->text = action.text;
        break;
      case scenario::DialogStep::kSave:
        form.Command1_Click();
        break;
      case scenario::DialogStep::kHelp:
        form.Command2_Click();
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
  form.Timer1_Timer();
  while (!form.unloaded) {
    if (steps_.empty()) {
      form.Form_KeyPress(27);  // Esc
      break;
    }
    const scenario::DialogStep action = steps_.front();
    steps_.pop_front();
    switch (action.kind) {
      case scenario::DialogStep::kSysInfo:
        form.StartSysInfo();
        break;
      case scenario::DialogStep::kEmail:
        form.LbEmail_Click();
        break;
      case scenario::DialogStep::kWeb:
        form.LbPhone_Click();
        break;
      default:
        form.Command2_Click();
        break;
    }
  }
  return true;
}

}  // namespace tb::sandbox
