#include "platform/win32/windowing.h"

#include "platform/win32/win32_api.h"

#include "platform/win32/wide.h"

namespace tb::win32 {
namespace {

HWND Handle(platform::Hwnd window) { return reinterpret_cast<HWND>(window); }
platform::Hwnd Number(HWND window) { return reinterpret_cast<platform::Hwnd>(window); }

}  // namespace

platform::Hwnd Win32Windows::FindWindow(const char16_t* className, const char16_t* title) {
  return Number(FindWindowW(Wide(className), Wide(title)));
}

platform::Hwnd Win32Windows::FindWindowEx(platform::Hwnd parent, platform::Hwnd childAfter,
                                          const char16_t* className, const char16_t* title) {
  return Number(FindWindowExW(Handle(parent), Handle(childAfter), Wide(className), Wide(title)));
}

platform::SendResult Win32Windows::SendMessageTimeout(platform::Hwnd window, std::uint32_t message,
                                                      std::uintptr_t wparam, std::intptr_t lparam,
                                                      std::uint32_t timeoutMs,
                                                      std::intptr_t* result) {
  DWORD_PTR answer = 0;
  const LRESULT sent = SendMessageTimeoutW(Handle(window), message, wparam, lparam,
                                           SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs, &answer);
  if (result != nullptr) {
    *result = static_cast<std::intptr_t>(answer);
  }
  if (sent != 0) {
    return platform::SendResult::kAnswered;
  }
  return GetLastError() == ERROR_TIMEOUT ? platform::SendResult::kTimedOut
                                         : platform::SendResult::kFailed;
}

bool Win32Windows::PostMessage(platform::Hwnd window, std::uint32_t message, std::uintptr_t wparam,
                               std::intptr_t lparam) {
  return PostMessageW(Handle(window), message, wparam, lparam) != FALSE;
}

int Win32Windows::GetWindowText(platform::Hwnd window, char16_t* buffer, int maxCount) {
  return GetWindowTextW(Handle(window), Wide(buffer), maxCount);
}

int Win32Windows::GetClassName(platform::Hwnd window, char16_t* buffer, int maxCount) {
  return GetClassNameW(Handle(window), Wide(buffer), maxCount);
}

platform::Hwnd Win32Windows::GetForegroundWindow() { return Number(::GetForegroundWindow()); }

bool Win32Windows::SetForegroundWindow(platform::Hwnd window) {
  return ::SetForegroundWindow(Handle(window)) != FALSE;
}

bool Win32Windows::ShowWindowAsync(platform::Hwnd window, int command) {
  return ::ShowWindowAsync(Handle(window), command) != FALSE;
}

bool Win32Windows::BringWindowToTop(platform::Hwnd window) {
  return ::BringWindowToTop(Handle(window)) != FALSE;
}

platform::Hwnd Win32Windows::GetActiveWindow() { return Number(::GetActiveWindow()); }

}  // namespace tb::win32
