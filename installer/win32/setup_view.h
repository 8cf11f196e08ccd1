// The installer's window on Windows: a thin view over FrmSetup. It shows the
// form's controls and pictures and hands the user's clicks to its handlers.
#pragma once

#include <windows.h>

#include "installer/frm_setup.h"

namespace tb::setup {

// Opens the window over `form`, runs its message loop until the form ends,
// and answers the loop's exit code. Answers 1 when the window cannot be made.
int RunSetupWindow(HINSTANCE instance, FrmSetup& form);

}  // namespace tb::setup
