// Shows the options dialog with each player selected and the about box, one
// after the other, for a screenshot of each: tunebadge-screens FOLDER.
//
// For each picture NAME it waits until the dialog is up and painted, writes
// FOLDER\NAME.ready holding the dialog's place on the screen ("x y width
// height"), waits for FOLDER\NAME.done from whoever takes the picture, and
// closes the dialog. No wait lasts more than 30 seconds.
#include "platform/win32/win32_api.h"

#include <cstdio>
#include <string>

#include "common/settings.h"
#include "platform/win32/files.h"
#include "platform/win32/message_boxes.h"
#include "platform/win32/processes.h"
#include "platform/win32/registry.h"
#include "platform/win32/shell.h"
#include "platform/win32/windowing.h"
#include "plugin/dialogs/frm_about.h"
#include "plugin/dialogs/frm_options.h"
#include "plugin/win32/dialogs/win32_dialogs.h"

namespace {

constexpr UINT kTickMs = 100;
constexpr DWORD kPaintedAfterMs = 800;
constexpr DWORD kBoundMs = 30000;

struct Shot {
  std::wstring name;
  std::wstring caption;
  std::wstring folder;
  HWND dialog = nullptr;
  DWORD shownAt = 0;
  DWORD startedAt = 0;
  bool ready = false;
  bool timedOut = false;
};

Shot* g_shot = nullptr;

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteReady(const Shot& shot) {
  RECT box{};
  GetWindowRect(shot.dialog, &box);
  const std::string place = std::to_string(box.left) + " " + std::to_string(box.top) + " " +
                            std::to_string(box.right - box.left) + " " +
                            std::to_string(box.bottom - box.top) + "\n";
  const std::wstring path = shot.folder + L"\\" + shot.name + L".ready";
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, place.data(), static_cast<DWORD>(place.size()), &written, nullptr);
    CloseHandle(file);
  }
}

void CALLBACK Tick(HWND /*window*/, UINT /*message*/, UINT_PTR /*id*/, DWORD /*time*/) {
  Shot* shot = g_shot;
  if (shot == nullptr) {
    return;
  }
  const DWORD now = GetTickCount();
  if (shot->dialog == nullptr) {
    const HWND dialog = FindWindowW(L"#32770", shot->caption.c_str());
    if (dialog != nullptr && IsWindowVisible(dialog) != FALSE) {
      shot->dialog = dialog;
      shot->shownAt = now;
      // The user's window, with an active caption.
      SetForegroundWindow(dialog);
      SetActiveWindow(dialog);
    }
  } else if (!shot->ready && now - shot->shownAt >= kPaintedAfterMs) {
    // Under Xvfb the first window's caption can stay drawn inactive though
    // the window is active: it is told again.
    if (GetActiveWindow() == shot->dialog) {
      SendMessageW(shot->dialog, WM_NCACTIVATE, TRUE, 0);
    }
    RedrawWindow(shot->dialog, nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    WriteReady(*shot);
    shot->ready = true;
  } else if (shot->ready && Exists(shot->folder + L"\\" + shot->name + L".done")) {
    PostMessageW(shot->dialog, WM_CLOSE, 0, 0);
  }
  if (now - shot->startedAt > kBoundMs) {
    shot->timedOut = true;
    if (shot->dialog != nullptr) {
      PostMessageW(shot->dialog, WM_CLOSE, 0, 0);
    }
  }
}

// Runs `show` (which shows one dialog modally) while the picture is taken.
template <typename Show>
bool Take(const std::wstring& folder, const std::wstring& name, const std::wstring& caption,
          Show show) {
  Shot shot{name, caption, folder};
  shot.startedAt = GetTickCount();
  g_shot = &shot;
  const UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, &Tick);
  show();
  KillTimer(nullptr, timer);
  g_shot = nullptr;
  std::printf("%ls: %s\n", name.c_str(), shot.timedOut || !shot.ready ? "timed out" : "taken");
  return !shot.timedOut && shot.ready;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::printf("usage: tunebadge-screens FOLDER\n");
    return 2;
  }
  const std::wstring folder = argv[1];
  tb::win32::Win32Registry registry;
  tb::win32::Win32MessageBoxes messageBoxes;
  tb::win32::Win32Dialogs dialogs(GetModuleHandleW(nullptr));
  tb::win32::Win32Shell shell;
  tb::win32::Win32Files files;
  tb::win32::Win32Processes processes;
  tb::win32::Win32Windows windows;
  tb::win32::Win32Module module(nullptr);

  tb::WriteSetting(registry, tb::kCurrentTag, tb::kDefaultCurrentTag);
  tb::WriteSetting(registry, tb::kCurrentTagMMJ, tb::kDefaultCurrentTagMMJ);
  tb::WriteSetting(registry, tb::kCurrentTagWMP, tb::kDefaultCurrentTagWMP);
  bool taken = true;
  const struct {
    const char16_t* player;
    const wchar_t* name;
  } players[] = {{tb::kPlayerWinamp, L"options-winamp"},
                 {tb::kPlayerMusicMatch, L"options-musicmatch"},
                 {tb::kPlayerWindowsMedia, L"options-windows-media"}};
  for (const auto& player : players) {
    tb::WriteSetting(registry, tb::kPlayer, player.player);
    tb::FrmOptions form(registry, messageBoxes);
    form.Load();
    taken = Take(folder, player.name, L"Options", [&] { dialogs.ShowOptions(0, form); }) && taken;
  }
  tb::FrmAbout about(
      tb::AboutDesktop{registry, shell, files, processes, messageBoxes, windows, module});
  about.Load();
  taken = Take(folder, L"about", reinterpret_cast<const wchar_t*>(about.caption.c_str()),
               [&] { dialogs.ShowAbout(0, about); }) &&
          taken;
  return taken ? 0 : 1;
}
