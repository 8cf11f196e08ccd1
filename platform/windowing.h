// Top-level windows, child windows and window messages (user32).
//
// Class names and titles are nullable C strings, as in Win32: a null pointer
// means "any". Text buffers are UTF-16 and counted in characters.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace tb::platform {

inline constexpr std::uint32_t kWmNull = 0x0000;
inline constexpr std::uint32_t kWmGetText = 0x000D;
inline constexpr std::uint32_t kWmGetTextLength = 0x000E;
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmCommand = 0x0111;

inline constexpr int kSwHide = 0;
inline constexpr int kSwShowNormal = 1;

// What came of a message sent with a timeout.
enum class SendResult {
  kAnswered,  // the window answered; its result is in `result`
  kTimedOut,  // the window did not answer in time (ERROR_TIMEOUT)
  kFailed,    // any other failure: no such window, among others
};

class Windows {
 public:
  virtual ~Windows() = default;

  // FindWindowW
  virtual Hwnd FindWindow(const char16_t* className, const char16_t* title) = 0;
  // FindWindowExW
  virtual Hwnd FindWindowEx(Hwnd parent, Hwnd childAfter, const char16_t* className,
                            const char16_t* title) = 0;
  // SendMessageTimeoutW with SMTO_ABORTIFHUNG; a window that stopped
  // answering altogether times out at once.
  virtual SendResult SendMessageTimeout(Hwnd window, std::uint32_t message, std::uintptr_t wparam,
                                        std::intptr_t lparam, std::uint32_t timeoutMs,
                                        std::intptr_t* result) = 0;
  // PostMessageW
  virtual bool PostMessage(Hwnd window, std::uint32_t message, std::uintptr_t wparam,
                           std::intptr_t lparam) = 0;
  // GetWindowTextW: copies at most maxCount - 1 characters and a NUL.
  virtual int GetWindowText(Hwnd window, char16_t* buffer, int maxCount) = 0;
  // GetClassNameW
  virtual int GetClassName(Hwnd window, char16_t* buffer, int maxCount) = 0;
  // GetForegroundWindow
  virtual Hwnd GetForegroundWindow() = 0;
  // SetForegroundWindow
  virtual bool SetForegroundWindow(Hwnd window) = 0;
  // ShowWindowAsync: the change reaches a window of another thread as an
  // event in its queue, so a window that stopped answering cannot hold the
  // caller; a window of the calling thread changes at once.
  virtual bool ShowWindowAsync(Hwnd window, int command) = 0;
  // BringWindowToTop
  virtual bool BringWindowToTop(Hwnd window) = 0;
  // GetActiveWindow: the calling thread's active window, or 0.
  virtual Hwnd GetActiveWindow() = 0;
};

}  // namespace tb::platform
