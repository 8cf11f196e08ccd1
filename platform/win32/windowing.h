// The windows seam on real Windows: each member forwards to its user32 call.
#pragma once

#include "platform/windowing.h"

namespace tb::win32 {

class Win32Windows final : public platform::Windows {
 public:
  platform::Hwnd FindWindow(const char16_t* className, const char16_t* title) override;
  platform::Hwnd FindWindowEx(platform::Hwnd parent, platform::Hwnd childAfter,
                              const char16_t* className, const char16_t* title) override;
  platform::SendResult SendMessageTimeout(platform::Hwnd window, std::uint32_t message,
                                          std::uintptr_t wparam, std::intptr_t lparam,
                                          std::uint32_t timeoutMs, std::intptr_t* result) override;
  bool PostMessage(platform::Hwnd window, std::uint32_t message, std::uintptr_t wparam,
                   std::intptr_t lparam) override;
  int GetWindowText(platform::Hwnd window, char16_t* buffer, int maxCount) override;
  int GetClassName(platform::Hwnd window, char16_t* buffer, int maxCount) override;
  platform::Hwnd GetForegroundWindow() override;
  bool SetForegroundWindow(platform::Hwnd window) override;
  bool ShowWindowAsync(platform::Hwnd window, int command) override;
  bool BringWindowToTop(platform::Hwnd window) override;
  platform::Hwnd GetActiveWindow() override;
};

}  // namespace tb::win32
