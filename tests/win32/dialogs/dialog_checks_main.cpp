// The options dialog and the about box under Wine, as real modal dialogs:
// dialog_checks [Tunebadge.dll]. Prints one line per failed check and a
// closing count; exits non-zero when anything failed.
#include "platform/win32/win32_api.h"

#include <objbase.h>
#include <shlwapi.h>

#include <cstdio>

#include "common/settings.h"
#include "tests/win32/dialogs/dialog_checks.h"
#include "tests/win32/dialogs/scripted_user.h"
#include "tests/win32/support/com_support.h"

namespace tb::test {

std::string RectOf(HWND control) {
  RECT box{};
  GetWindowRect(control, &box);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&box), 2);
  return std::to_string(box.left) + "," + std::to_string(box.top) + "," +
         std::to_string(box.right - box.left) + "," + std::to_string(box.bottom - box.top);
}

std::string PixelAt(HWND window, int x, int y) {
  // Whatever is still to be painted, first.
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  const HDC dc = GetDC(window);
  const COLORREF pixel = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  if (pixel == CLR_INVALID) {
    return "invalid";
  }
  return std::to_string(GetRValue(pixel)) + "," + std::to_string(GetGValue(pixel)) + "," +
         std::to_string(GetBValue(pixel));
}

std::u16string ItemText(HWND dialog, int id) { return TextOf(GetDlgItem(dialog, id)); }

std::string ChildIds(HWND dialog) {
  std::string ids;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!ids.empty()) {
      ids += ' ';
    }
    ids += std::to_string(GetDlgCtrlID(child));
  }
  return ids;
}

std::string TabWalk(HWND dialog, int fromId, int steps) {
  std::string walk = std::to_string(fromId);
  HWND at = GetDlgItem(dialog, fromId);
  for (int i = 0; i < steps && at != nullptr; ++i) {
    at = GetNextDlgTabItem(dialog, at, FALSE);
    walk += ' ';
    walk += std::to_string(at != nullptr ? GetDlgCtrlID(at) : 0);
  }
  return walk;
}

int ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace tb::test

int main(int argc, char** argv) {
  tb::test::CheckLog log;
  log.Equal(tb::test::Hex(CoInitialize(nullptr)), tb::test::Hex(S_OK), "CoInitialize");
  std::printf("screen: %d pixels per inch\n", tb::test::ScreenDpi());
  {
    tb::test::Desktop desktop;
    SHDeleteKeyW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(tb::kSettingsKeyPath));
    tb::test::CheckOptionsSaveAfterSwitching(desktop, log);
    tb::test::CheckOptionsCloseBoxDiscards(desktop, log);
    tb::test::CheckOptionsEscapeKeepsItOpen(desktop, log);
    tb::test::CheckOptionsWithoutPlayerAndHelp(desktop, log);
    tb::test::CheckOptionsRefused(desktop, log);
    tb::test::CheckAboutLinksTimerAndSysInfo(desktop, log);
    tb::test::CheckAboutEnterAndCloseBox(desktop, log);
  }
  if (argc == 2) {
    wchar_t path[MAX_PATH * 2] = {};
    MultiByteToWideChar(CP_ACP, 0, argv[1], -1, path, MAX_PATH * 2);
    wchar_t full[MAX_PATH * 2] = {};
    GetFullPathNameW(path, MAX_PATH * 2, full, nullptr);
    tb::test::CheckThroughTheLibrary(reinterpret_cast<const char16_t*>(full), log);
  }
  SHDeleteKeyW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(tb::kSettingsKeyPath));
  CoUninitialize();

  for (const auto& failure : log.Failures()) {
    std::printf("FAIL %s\n", failure.c_str());
  }
  const int failed = static_cast<int>(log.Failures().size());
  std::printf("dialog checks: %d passed, %d failed\n", log.Checks() - failed, failed);
  return failed == 0 ? 0 : 1;
}
