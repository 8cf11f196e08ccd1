#include "platform/sim/windows.h"

#include <algorithm>

namespace tb::sim {

using platform::Hwnd;

namespace {

bool SameText(const char16_t* wanted, const std::u16string& actual) {
  return wanted == nullptr || actual == wanted;
}

// Class names compare without regard to case, as Windows compares them.
bool SameClass(const char16_t* wanted, const std::u16string& actual) {
  if (wanted == nullptr) {
    return true;
  }
  const std::u16string other = wanted;
  return std::equal(actual.begin(), actual.end(), other.begin(), other.end(),
                    [](char16_t a, char16_t b) {
                      const auto fold = [](char16_t c) {
                        return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
                      };
                      return fold(a) == fold(b);
                    });
}

int CopyText(const std::u16string& text, char16_t* buffer, int maxCount) {
  if (buffer == nullptr || maxCount <= 0) {
    return 0;
  }
  const auto count =
      static_cast<int>(std::min<std::size_t>(text.size(), static_cast<std::size_t>(maxCount - 1)));
  std::copy_n(text.begin(), count, buffer);
  buffer[count] = u'\0';
  return count;
}

}  // namespace

Hwnd SimWindows::Open(const std::u16string& className, const std::u16string& title, Hwnd parent,
                      bool visible) {
  const Hwnd handle = nextHandle_;
  nextHandle_ += 4;
  windows_.emplace(handle,
                   SimWindow{className, title, parent, visible, false, std::nullopt, std::nullopt});
  return handle;
}

void SimWindows::Close(Hwnd window) {
  for (const Hwnd child : Children(window)) {
    Close(child);
  }
  windows_.erase(window);
  if (foreground_ == window) {
    foreground_ = 0;
  }
}

void SimWindows::Retitle(Hwnd window, const std::u16string& title) {
  SimWindow* target = Get(window);
  if (target == nullptr) {
    return;
  }
  target->title = title;
  if (target->scroll) {
    target->scroll = SimWindow::Scroll{title, timer_.Now()};
    TurnTitles();
  }
}

void SimWindows::Scroll(Hwnd window, bool scrolling) {
  SimWindow* target = Get(window);
  if (target == nullptr || scrolling == target->scroll.has_value()) {
    return;
  }
  if (scrolling) {
    target->scroll = SimWindow::Scroll{target->title, timer_.Now()};
    TurnTitles();
  } else {
    target->title = target->scroll->ordinary;
    target->scroll.reset();
  }
}

void SimWindows::TurnTitles() {
  for (auto& [handle, window] : windows_) {
    if (window.scroll) {
      window.title = ScrolledTitle(window.scroll->ordinary,
                                   (timer_.Now() - window.scroll->since) / kScrollTurnMs);
    }
  }
}

SimWindow* SimWindows::Get(Hwnd window) {
  const auto found = windows_.find(window);
  return found == windows_.end() ? nullptr : &found->second;
}

Hwnd SimWindows::NewestTopLevel(const char16_t* className, const char16_t* title) const {
  // The front of the z-order first: the newest window.
  const auto found = std::find_if(windows_.rbegin(), windows_.rend(), [&](const auto& entry) {
    return Matches(entry.first, 0, className, title);
  });
  return found == windows_.rend() ? 0 : found->first;
}

Hwnd SimWindows::Newest(const std::u16string& className) const {
  return NewestTopLevel(className.c_str(), nullptr);
}

Hwnd SimWindows::Lookup(const std::u16string& className, const std::u16string& title) const {
  return NewestTopLevel(className.c_str(), title.c_str());
}

std::vector<Hwnd> SimWindows::Children(Hwnd parent) const {
  std::vector<Hwnd> children;
  for (const auto& [handle, window] : windows_) {
    if (window.parent == parent && parent != 0) {
      children.push_back(handle);
    }
  }
  return children;
}

void SimWindows::OnMessage(const std::u16string& className, MessageHandler handler) {
  messageHandlers_[className] = std::move(handler);
}

void SimWindows::OnKey(const std::u16string& className, KeyHandler handler) {
  keyHandlers_[className] = std::move(handler);
}

void SimWindows::QueueInput(const platform::KeyInput& key) {
  input_.push_back(Input{foreground_, key});
}

void SimWindows::DeliverQueued() {
  while (!posted_.empty() || !input_.empty()) {
    if (!posted_.empty()) {
      const Posted message = posted_.front();
      posted_.pop_front();
      const SimWindow* window = Get(message.window);
      if (window != nullptr) {
        const auto handler = messageHandlers_.find(window->className);
        if (handler != messageHandlers_.end()) {
          const MessageHandler run = handler->second;
          run(message.window, message.message, message.wparam, message.lparam);
        }
      }
      continue;
    }
    const Input input = input_.front();
    input_.pop_front();
    SimWindow* window = Get(input.window);
    if (window != nullptr && !window->hung) {
      CountAltZero(*window, input.key);
      const auto handler = keyHandlers_.find(window->className);
      if (handler != keyHandlers_.end()) {
        const KeyHandler run = handler->second;
        run(input.window, input.key);
      }
    }
  }
}

void SimWindows::CountAltZero(SimWindow& window, const platform::KeyInput& key) {
  constexpr std::uint16_t kVk0 = 0x30;
  if (key.virtualKey == platform::kVkMenu) {
    window.altDown = !key.keyUp;
  } else if (key.virtualKey == kVk0 && !key.keyUp && window.altDown) {
    ++window.altZeroCount;
  }
}

bool SimWindows::Matches(Hwnd window, Hwnd parent, const char16_t* className,
                         const char16_t* title) const {
  const auto found = windows_.find(window);
  return found != windows_.end() && found->second.parent == parent &&
         SameClass(className, found->second.className) && SameText(title, found->second.title);
}

Hwnd SimWindows::FindWindow(const char16_t* className, const char16_t* title) {
  if (faults_.Enter("FindWindowW")) {
    return 0;
  }
  TurnTitles();
  return NewestTopLevel(className, title);
}

Hwnd SimWindows::FindWindowEx(Hwnd parent, Hwnd childAfter, const char16_t* className,
                              const char16_t* title) {
  if (faults_.Enter("FindWindowExW")) {
    return 0;
  }
  TurnTitles();
  if (parent != 0 && Get(parent) == nullptr) {
    return 0;
  }
  // Children in the order they were made, as a dialog's controls are.
  bool passed = childAfter == 0;
  for (const auto& [handle, window] : windows_) {
    if (window.parent != parent) {
      continue;
    }
    if (!passed) {
      passed = handle == childAfter;
      continue;
    }
    if (Matches(handle, parent, className, title)) {
      return handle;
    }
  }
  return 0;
}

platform::SendResult SimWindows::SendMessageTimeout(Hwnd window, std::uint32_t message,
                                                    std::uintptr_t wparam, std::intptr_t lparam,
                                                    std::uint32_t timeoutMs,
                                                    std::intptr_t* result) {
  if (result != nullptr) {
    *result = 0;
  }
  if (faults_.Enter("SendMessageTimeoutW")) {
    return platform::SendResult::kFailed;
  }
  TurnTitles();
  const SimWindow* target = Get(window);
  if (target == nullptr) {
    return platform::SendResult::kFailed;
  }
  if (target->hung) {
    // The caller blocks for the whole timeout and dispatches nothing.
    timer_.Pass(timeoutMs);
    return platform::SendResult::kTimedOut;
  }
  std::intptr_t answer = 0;
  if (message == platform::kWmGetTextLength) {
    answer = target->claimedTextLength.value_or(static_cast<std::intptr_t>(target->title.size()));
  } else if (message == platform::kWmGetText) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): WM_GETTEXT's buffer travels in lParam.
    auto* buffer = reinterpret_cast<char16_t*>(lparam);
    answer = CopyText(target->title, buffer, static_cast<int>(wparam));
  }
  if (result != nullptr) {
    *result = answer;
  }
  return platform::SendResult::kAnswered;
}

bool SimWindows::PostMessage(Hwnd window, std::uint32_t message, std::uintptr_t wparam,
                             std::intptr_t lparam) {
  if (faults_.Enter("PostMessageW") || Get(window) == nullptr) {
    return false;
  }
  posted_.push_back(Posted{window, message, wparam, lparam});
  return true;
}

int SimWindows::GetWindowText(Hwnd window, char16_t* buffer, int maxCount) {
  if (buffer != nullptr && maxCount > 0) {
    buffer[0] = u'\0';
  }
  if (faults_.Enter("GetWindowTextW")) {
    return 0;
  }
  TurnTitles();
  const SimWindow* target = Get(window);
  return target == nullptr ? 0 : CopyText(target->title, buffer, maxCount);
}

int SimWindows::GetClassName(Hwnd window, char16_t* buffer, int maxCount) {
  if (faults_.Enter("GetClassNameW")) {
    return 0;
  }
  const SimWindow* target = Get(window);
  return target == nullptr ? 0 : CopyText(target->className, buffer, maxCount);
}

Hwnd SimWindows::GetForegroundWindow() {
  if (faults_.Enter("GetForegroundWindow")) {
    return 0;
  }
  return foreground_;
}

bool SimWindows::SetForegroundWindow(Hwnd window) {
  if (faults_.Enter("SetForegroundWindow") || Get(window) == nullptr || foregroundLocked_) {
    return false;
  }
  foreground_ = window;
  return true;
}

bool SimWindows::ShowWindowAsync(Hwnd window, int command) {
  SimWindow* target = Get(window);
  if (faults_.Enter("ShowWindowAsync") || target == nullptr) {
    return false;
  }
  target->visible = command != platform::kSwHide;
  if (!target->visible && foreground_ == window) {
    foreground_ = 0;
  }
  return true;  // the change was passed on
}

bool SimWindows::BringWindowToTop(Hwnd window) {
  if (faults_.Enter("BringWindowToTop")) {
    return false;
  }
  return Get(window) != nullptr;
}

Hwnd SimWindows::GetActiveWindow() {
  if (faults_.Enter("GetActiveWindow")) {
    return 0;
  }
  return 0;
}

}  // namespace tb::sim
