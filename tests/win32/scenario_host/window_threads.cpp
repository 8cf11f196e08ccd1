#include "tests/win32/scenario_host/window_threads.h"

#include <utility>

namespace tb::test {
namespace {

// How long a window thread sleeps when nothing happens, and how long a hang
// lasts at most (the runner ends it long before).
constexpr DWORD kIdleSliceMs = 250;
constexpr DWORD kHangSliceMs = 50;
constexpr DWORD kLongestHangMs = 120000;

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

BOOL CALLBACK DestroyThreadWindow(HWND window, LPARAM /*unused*/) {
  DestroyWindow(window);
  return TRUE;
}

}  // namespace

bool SameClassName(const std::u16string& a, const std::u16string& b) {
  return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, Wide(a), static_cast<int>(a.size()),
                        Wide(b), static_cast<int>(b.size())) == CSTR_EQUAL;
}

namespace {

constexpr wchar_t kAltZeroProperty[] = L"TunebadgeAltZero";
constexpr WPARAM kVk0 = 0x30;
constexpr LPARAM kContextAltDown = LPARAM{1} << 29U;

}  // namespace

void CountAltZero(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SYSKEYDOWN && wparam == kVk0 && (lparam & kContextAltDown) != 0) {
    const INT_PTR count = AltZeroKeysOf(window) + 1;
    SetPropW(window, kAltZeroProperty, reinterpret_cast<HANDLE>(count));
  } else if (message == WM_NCDESTROY) {
    RemovePropW(window, kAltZeroProperty);
  }
}

int AltZeroKeysOf(HWND window) {
  return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(window, kAltZeroProperty)));
}

std::u16string TitleOf(HWND window) {
  wchar_t text[1024] = {};
  const int length = InternalGetWindowText(window, text, 1024);
  return std::u16string(reinterpret_cast<const char16_t*>(text), length > 0 ? length : 0);
}

bool WaitAnsweringSent(const std::function<bool()>& done, DWORD boundMs) {
  constexpr DWORD kSliceMs = 5;
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) {
      return true;
    }
    if (GetTickCount() - start >= boundMs) {
      return false;
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, kSliceMs, QS_SENDMESSAGE, 0);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

void WindowLedger::Add(HWND window, const std::u16string& className, WindowThread* thread) {
  const Hold hold(lock_);
  entries_.push_back(LedgerEntry{window, className, thread});
}

std::optional<LedgerEntry> WindowLedger::Newest(const std::u16string& className,
                                                const std::u16string* title) const {
  const Hold hold(lock_);
  for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
    if (IsWindow(entry->window) != FALSE && SameClassName(entry->className, className) &&
        (title == nullptr || TitleOf(entry->window) == *title)) {
      return *entry;
    }
  }
  return std::nullopt;
}

WindowThread::WindowThread() : wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  if (wake_ != nullptr) {
    thread_ = CreateThread(nullptr, 0, &WindowThread::Main, this, 0, nullptr);
  }
}

WindowThread::~WindowThread() {
  if (thread_ != nullptr) {
    Run([this] { quit_ = true; });
    // Destroying windows may send messages to this thread's windows (their
    // activation), so they are answered meanwhile.
    WaitAnsweringSent([this] { return WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0; },
                      kThreadTaskBoundMs);
    CloseHandle(thread_);
  }
  if (wake_ != nullptr) {
    CloseHandle(wake_);
  }
}

bool WindowThread::Run(std::function<void()> task) {
  if (thread_ == nullptr || WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0) {
    return false;
  }
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (event == nullptr) {
    return false;
  }
  const std::shared_ptr<void> done(event, [](void* handle) { CloseHandle(handle); });
  {
    const Hold hold(lock_);
    tasks_.push_back(Task{std::move(task), done});
  }
  SetEvent(wake_);
  return WaitAnsweringSent([&] { return WaitForSingleObject(done.get(), 0) == WAIT_OBJECT_0; },
                           kThreadTaskBoundMs);
}

bool WindowThread::Hang(bool hung) {
  return Run([this, hung] {
    hung_ = hung;
    hungSince_ = GetTickCount();
  });
}

DWORD WINAPI WindowThread::Main(void* self) {
  static_cast<WindowThread*>(self)->Loop();
  return 0;
}

void WindowThread::RunTasks() {
  for (;;) {
    Task task;
    {
      const Hold hold(lock_);
      if (tasks_.empty()) {
        return;
      }
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task.work();
    SetEvent(task.done.get());
  }
}

void WindowThread::Loop() {
  for (;;) {
    if (hung_) {
      // A hung thread looks at nothing but its own tasks.
      WaitForSingleObject(wake_, kHangSliceMs);
    } else {
      MsgWaitForMultipleObjectsEx(1, &wake_, kIdleSliceMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    RunTasks();
    if (quit_) {
      EnumThreadWindows(GetCurrentThreadId(), DestroyThreadWindow, 0);
      return;
    }
    if (hung_ && GetTickCount() - hungSince_ >= kLongestHangMs) {
      hung_ = false;
    }
    MSG message;
    while (!hung_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

}  // namespace tb::test
