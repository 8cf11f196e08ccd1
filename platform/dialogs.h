// Modal dialogs. The plug-in's dialogs are portable forms (their behaviour,
// and what their controls show); a view shows a form modally, forwards the
// user's actions to it and returns when the form is unloaded.
#pragma once

#include "platform/types.h"

namespace tb {
class FrmAbout;
class FrmOptions;
}  // namespace tb

namespace tb::platform {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows the loaded form modally over `owner` (0: none) until it unloads.
  virtual void ShowOptions(Hwnd owner, FrmOptions& form) = 0;
  virtual void ShowAbout(Hwnd owner, FrmAbout& form) = 0;
};

}  // namespace tb::platform
