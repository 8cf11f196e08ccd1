// The plug-in's modal dialogs. Each is a portable form (its behaviour, and
// what its controls show); a view shows a form modally, forwards the user's
// actions to it and returns when the form is unloaded. The Win32 views are
// in plugin/win32/dialogs/, the simulated desktop's beside the sandbox.
#pragma once

#include "common/refused.h"
#include "platform/types.h"

namespace tb {

class FrmAbout;
class FrmOptions;

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows the loaded form modally over `owner` (0: none) until it unloads.
  // False when the dialog could not be made: the form stays as it was.
  virtual bool ShowOptions(platform::Hwnd owner, FrmOptions& form) = 0;
  virtual bool ShowAbout(platform::Hwnd owner, FrmAbout& form) = 0;
};

// A dialog that a command asked for and that could not be shown: the host
// gets a failed call, with its sResult as it passed it.
class DialogError : public Refused {
 public:
  using Refused::Refused;
};

}  // namespace tb
