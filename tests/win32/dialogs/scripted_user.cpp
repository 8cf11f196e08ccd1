#include "tests/win32/dialogs/scripted_user.h"

namespace tb::test {
namespace {

constexpr UINT kTickMs = 60;
// No step waits longer for its window, and no script runs longer.
constexpr DWORD kStepBoundMs = 8000;
constexpr DWORD kScriptBoundMs = 60000;
// A dialog that does not close when asked is ended this much later.
constexpr DWORD kForceAfterMs = 3000;

ScriptedUser* g_playing = nullptr;

struct Search {
  const std::u16string* caption;
  HWND found;
};

BOOL CALLBACK Consider(HWND window, LPARAM lparam) {
  auto* search = reinterpret_cast<Search*>(lparam);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring(className) == L"#32770" && IsWindowVisible(window) != FALSE &&
      IsWindowEnabled(window) != FALSE && TextOf(window) == *search->caption) {
    search->found = window;
  }
  return TRUE;
}

// Asks each dialog box of the thread to close; with `force`, ends it.
BOOL CALLBACK CloseDialog(HWND window, LPARAM force) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring(className) == L"#32770" && IsWindowVisible(window) != FALSE) {
    if (force != 0) {
      EndDialog(window, IDCANCEL);
    } else {
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
  }
  return TRUE;
}

}  // namespace

HWND FindDialog(const std::u16string& caption) {
  Search search{&caption, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), &Consider, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::u16string TextOf(HWND window) {
  wchar_t text[512] = {};
  const int length = GetWindowTextW(window, text, 512);
  return {reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length)};
}

void PressKey(UINT virtualKey) {
  const HWND focus = GetFocus();
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16U;
  PostMessageW(focus, WM_KEYDOWN, virtualKey, scan | 1);
  PostMessageW(focus, WM_KEYUP, virtualKey, scan | 1 | (3LL << 30U));
}

void Click(HWND control) {
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
}

ScriptedUser& ScriptedUser::Then(const std::u16string& caption, Action action) {
  steps_.push_back({caption, std::move(action), 0});
  return *this;
}

ScriptedUser& ScriptedUser::Pause(DWORD ms) {
  steps_.push_back({u"", nullptr, ms});
  return *this;
}

void ScriptedUser::Start() {
  g_playing = this;
  next_ = 0;
  overdue_ = false;
  started_ = GetTickCount();
  stepSince_ = started_;
  timer_ = SetTimer(nullptr, 0, kTickMs, &Tick);
  log_.Ok(timer_ != 0, name_ + ": the user's timer runs");
}

void ScriptedUser::Stop() {
  if (timer_ != 0) {
    KillTimer(nullptr, timer_);
    timer_ = 0;
  }
  if (g_playing == this) {
    g_playing = nullptr;
  }
}

void ScriptedUser::Finish() {
  Stop();
  log_.Ok(next_ == steps_.size() && !overdue_,
          name_ + ": the user went through every step (stopped at " + std::to_string(next_) +
              " of " + std::to_string(steps_.size()) + ")");
}

void CALLBACK ScriptedUser::Tick(HWND /*window*/, UINT /*message*/, UINT_PTR /*id*/,
                                 DWORD /*time*/) {
  if (g_playing != nullptr) {
    g_playing->Play();
  }
}

void ScriptedUser::CloseEverything() const {
  const bool force = GetTickCount() - overdueSince_ > kForceAfterMs;
  EnumThreadWindows(GetCurrentThreadId(), &CloseDialog, force ? 1 : 0);
}

void ScriptedUser::Play() {
  const DWORD now = GetTickCount();
  if (overdue_ || now - started_ > kScriptBoundMs || now - stepSince_ > kStepBoundMs) {
    if (!overdue_) {
      overdue_ = true;
      overdueSince_ = now;
      log_.Ok(false, name_ + (next_ < steps_.size()
                                  ? ": step " + std::to_string(next_) + " found no dialog " +
                                        Show(steps_[next_].caption) + " in time"
                                  : ": a dialog stayed open after the last step"));
    }
    CloseEverything();
    return;
  }
  if (next_ >= steps_.size()) {
    return;
  }
  const Step& step = steps_[next_];
  if (step.pauseMs != 0) {
    if (now - stepSince_ >= step.pauseMs) {
      ++next_;
      stepSince_ = now;
    }
    return;
  }
  const HWND window = FindDialog(step.caption);
  if (window == nullptr) {
    return;
  }
  // On to the next step first: an action that opens a box of its own comes
  // back only when the box is gone, and the steps for the box run meanwhile.
  const Action action = step.action;
  ++next_;
  stepSince_ = now;
  action(window);
}

}  // namespace tb::test
