#include "tests/win32/scenario_host/dialog_user.h"

#include <array>

#include "plugin/dialogs/frm_about.h"
#include "plugin/win32/dialogs/win32_dialogs.h"
#include "tests/win32/scenario_host/window_threads.h"
#include "tools/scenario/scenario.h"

namespace tb::test {
namespace {

namespace controls = tb::win32::controls;
using scenario::DialogStep;

// The options dialog is played as soon as its loop runs; the about box once
// its one-shot timer has come, as on the simulated desktop.
constexpr UINT kOptionsDelayMs = 20;
constexpr UINT kAboutDelayMs = kAboutTimerMs + 250;

DialogUser* g_user = nullptr;

constexpr std::array<int, 3> kOptionButtons = {controls::kWinamp, controls::kMusicMatch,
                                               controls::kWindowsMedia};
constexpr std::array<int, 3> kTemplateBoxes = {controls::kWinampText, controls::kMusicMatchText,
                                               controls::kMediaText};

bool Open(HWND dialog) { return IsWindow(dialog) != FALSE && IsWindowVisible(dialog) != FALSE; }

// A click on a button of the dialog, as the mouse gives it.
void Press(HWND dialog, int id) {
  const HWND button = GetDlgItem(dialog, id);
  if (button != nullptr) {
    SendMessageW(button, BM_CLICK, 0, 0);
  }
}

// Esc, as the dialog manager passes it on.
void Escape(HWND dialog) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }

// Esc typed into the template box that is shown: the key goes through the
// dialog manager as the modal loop hands it over, and so does whatever it
// posts to the dialog.
void PressEscape(HWND dialog) {
  for (const int id : kTemplateBoxes) {
    const HWND box = GetDlgItem(dialog, id);
    if (box == nullptr || IsWindowVisible(box) == FALSE) {
      continue;
    }
    SetFocus(box);
    const auto scan = static_cast<LPARAM>(MapVirtualKeyW(VK_ESCAPE, MAPVK_VK_TO_VSC)) << 16U;
    PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, scan | 1);
    PostMessageW(box, WM_KEYUP, VK_ESCAPE, scan | 1 | (LPARAM{3} << 30U));
    MSG message;
    while (PeekMessageW(&message, box, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) != FALSE ||
           PeekMessageW(&message, dialog, 0, 0, PM_REMOVE) != FALSE) {
      if (IsDialogMessageW(dialog, &message) == FALSE) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    return;
  }
}

// The title bar's close box.
void CloseBox(HWND dialog) { SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

}  // namespace

bool IsPluginDialog(HWND window) {
  return GetDlgItem(window, controls::kSave) != nullptr ||
         GetDlgItem(window, controls::kSystemInfo) != nullptr;
}

DialogUser::DialogUser() {
  if (g_user == nullptr) {
    hook_ = SetWindowsHookExW(WH_CBT, &DialogUser::Hook, nullptr, GetCurrentThreadId());
    if (hook_ != nullptr) {
      g_user = this;
    }
  }
}

DialogUser::~DialogUser() {
  if (timer_ != 0) {
    KillTimer(nullptr, timer_);
  }
  if (hook_ != nullptr) {
    UnhookWindowsHookEx(hook_);
    g_user = nullptr;
  }
}

std::optional<std::string> DialogUser::TakeTrouble() {
  std::optional<std::string> trouble;
  trouble.swap(trouble_);
  return trouble;
}

LRESULT CALLBACK DialogUser::Hook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE && g_user != nullptr) {
    g_user->OnActivate(reinterpret_cast<HWND>(wparam));
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

void DialogUser::OnActivate(HWND window) {
  // A dialog comes back to the front after each box it showed: it is
  // played once.
  if (window == dialog_ || !IsPluginDialog(window)) {
    return;
  }
  if (dialog_ != nullptr) {
    trouble_ = "a dialog opened while another was being played";
    return;
  }
  dialog_ = window;
  shown_.push_back(TitleOf(window));
  const bool options = GetDlgItem(window, controls::kSave) != nullptr;
  timer_ = SetTimer(nullptr, 0, options ? kOptionsDelayMs : kAboutDelayMs, &DialogUser::Due);
  if (timer_ == 0) {
    trouble_ = "the user's timer could not be set";
    EndDialog(window, IDCANCEL);
    dialog_ = nullptr;
  }
}

void CALLBACK DialogUser::Due(HWND /*window*/, UINT /*message*/, UINT_PTR /*id*/, DWORD /*time*/) {
  if (g_user != nullptr) {
    g_user->Play();
  }
}

void DialogUser::Play() {
  KillTimer(nullptr, timer_);
  timer_ = 0;
  const HWND dialog = dialog_;
  const bool options = GetDlgItem(dialog, controls::kSave) != nullptr;
  // Each action is handled whole before the next, boxes it shows included:
  // the loop ends when the actions run out.
  while (Open(dialog) && !steps_.empty()) {
    const DialogStep step = steps_.front();
    steps_.pop_front();
    Act(dialog, options, step);
  }
  if (Open(dialog)) {
    CloseBox(dialog);  // nothing more to do: the user closes it
  }
  if (Open(dialog)) {
    EndDialog(dialog, IDCANCEL);
    trouble_ = "the dialog " + scenario::ToUtf8(TitleOf(dialog)) + " did not close when asked";
  }
  dialog_ = nullptr;
}

void DialogUser::Act(HWND dialog, bool options, const DialogStep& step) {
  const auto player = static_cast<std::size_t>(step.player);
  if (options) {
    switch (step.kind) {
      case DialogStep::kSelect:
        Press(dialog, kOptionButtons.at(player));
        break;
      case DialogStep::kText:
        SetDlgItemTextW(dialog, kTemplateBoxes.at(player),
                        reinterpret_cast<const wchar_t*>(step.text.c_str()));
        break;
      case DialogStep::kSave:
        Press(dialog, controls::kSave);
        break;
      case DialogStep::kHelp:
        Press(dialog, controls::kHelp);
        break;
      case DialogStep::kEscape:
        PressEscape(dialog);
        break;
      default:  // "close", and what is no action of this dialog
        CloseBox(dialog);
        break;
    }
    return;
  }
  switch (step.kind) {
    case DialogStep::kSysInfo:
      Press(dialog, controls::kSystemInfo);
      break;
    case DialogStep::kClose:
      Escape(dialog);
      break;
    default:  // "ok", and what is no action of this box
      Press(dialog, controls::kOk);
      break;
  }
}

}  // namespace tb::test
