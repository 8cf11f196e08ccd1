// The dialogs under Wine: Win32Dialogs over real forms, the real registry
// and real windows, driven by a scripted user.
#pragma once

#include "platform/win32/win32_api.h"

#include <string>
#include <vector>

#include "platform/win32/files.h"
#include "platform/win32/message_boxes.h"
#include "platform/win32/processes.h"
#include "platform/win32/registry.h"
#include "plugin/win32/dialogs/win32_dialogs.h"
#include "tests/support/check_log.h"
#include "tests/win32/dialogs/recording.h"

namespace tb::test {

struct Desktop {
  win32::Win32Registry registry;
  win32::Win32MessageBoxes messageBoxes;
  win32::Win32Files files;
  win32::Win32Module module{nullptr};  // this program's own version block
  RecordingShell shell;
  RecordingProcesses processes;
  CountingWindows windows;
  win32::Win32Dialogs dialogs{GetModuleHandleW(nullptr)};
};

// What a look at a dialog tells, as text for the check log.
std::string RectOf(HWND control);                // "left,top,width,height" in the parent
std::string PixelAt(HWND window, int x, int y);  // "r,g,b" on the screen
std::u16string ItemText(HWND dialog, int id);
// The ids of the dialog's children, first to last: "a b c ...".
std::string ChildIds(HWND dialog);
// Where Tab goes from `fromId`, `steps` times: "a b c ...".
std::string TabWalk(HWND dialog, int fromId, int steps);
int ScreenDpi();

// options_checks.cpp
void CheckOptionsSaveAfterSwitching(Desktop& desktop, CheckLog& log);
void CheckOptionsCloseBoxDiscards(Desktop& desktop, CheckLog& log);
void CheckOptionsEscapeKeepsItOpen(Desktop& desktop, CheckLog& log);
void CheckOptionsWithoutPlayerAndHelp(Desktop& desktop, CheckLog& log);
void CheckOptionsRefused(Desktop& desktop, CheckLog& log);

// about_checks.cpp
void CheckAboutLinksTimerAndSysInfo(Desktop& desktop, CheckLog& log);
void CheckAboutEnterAndCloseBox(Desktop& desktop, CheckLog& log);

// library_checks.cpp: the same dialogs as Tunebadge.dll shows them.
void CheckThroughTheLibrary(const std::u16string& dllPath, CheckLog& log);

}  // namespace tb::test
