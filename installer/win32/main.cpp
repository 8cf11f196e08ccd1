// TunebadgeSetup.exe: the installer's window over the real desktop.
#include <windows.h>

#include "installer/frm_setup.h"
#include "installer/win32/setup_view.h"
#include "platform/win32/environment.h"
#include "platform/win32/files.h"
#include "platform/win32/message_boxes.h"
#include "platform/win32/processes.h"
#include "platform/win32/registry.h"
#include "platform/win32/shell.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
  tb::win32::Win32Registry registry;
  tb::win32::Win32Files files;
  tb::win32::Win32Processes processes;
  tb::win32::Win32Environment environment;
  tb::win32::Win32Shell shell;
  tb::win32::Win32MessageBoxes messageBoxes;
  tb::setup::FrmSetup form(
      tb::setup::SetupDesktop{registry, files, processes, environment, shell, messageBoxes});
  return tb::setup::RunSetupWindow(instance, form);
}
