// Seam adapters for the about box's checks: a shell and a process starter
// that record what they were asked and start nothing, and the real windows
// adapter with a count of BringWindowToTop.
#pragma once

// First: the seam's names, free of <windows.h>'s A and W macros.
#include "platform/win32/win32_api.h"

#include <string>
#include <vector>

#include "platform/processes.h"
#include "platform/shell.h"
#include "platform/win32/windowing.h"

namespace tb::test {

class RecordingShell final : public platform::Shell {
 public:
  std::intptr_t ShellExecute(platform::Hwnd /*owner*/, const char16_t* verb,
                             const std::u16string& file, const char16_t* /*parameters*/,
                             const char16_t* directory, int /*show*/) override {
    opened.push_back(file);
    verbs.push_back(verb != nullptr ? verb : u"<none>");
    directories.push_back(directory != nullptr ? directory : u"<none>");
    return 42;  // what ShellExecuteW answers on success: more than 32
  }

  std::vector<std::u16string> opened;
  std::vector<std::u16string> verbs;
  std::vector<std::u16string> directories;
};

class RecordingProcesses final : public platform::Processes {
 public:
  bool StartProcess(const std::u16string& commandLine, int /*show*/) override {
    started.push_back(commandLine);
    return starts;
  }
  std::u16string GetModuleFileName() override { return u"C:\\dialog_checks.exe"; }

  std::vector<std::u16string> started;
  bool starts = true;  // whether a program "starts"
};

class CountingWindows final : public platform::Windows {
 public:
  platform::Hwnd FindWindow(const char16_t* className, const char16_t* title) override {
    return real_.FindWindow(className, title);
  }
  platform::Hwnd FindWindowEx(platform::Hwnd parent, platform::Hwnd childAfter,
                              const char16_t* className, const char16_t* title) override {
    return real_.FindWindowEx(parent, childAfter, className, title);
  }
  platform::SendResult SendMessageTimeout(platform::Hwnd window, std::uint32_t message,
                                          std::uintptr_t wparam, std::intptr_t lparam,
                                          std::uint32_t timeoutMs, std::intptr_t* result) override {
    return real_.SendMessageTimeout(window, message, wparam, lparam, timeoutMs, result);
  }
  bool PostMessage(platform::Hwnd window, std::uint32_t message, std::uintptr_t wparam,
                   std::intptr_t lparam) override {
    return real_.PostMessage(window, message, wparam, lparam);
  }
  int GetWindowText(platform::Hwnd window, char16_t* buffer, int maxCount) override {
    return real_.GetWindowText(window, buffer, maxCount);
  }
  int GetClassName(platform::Hwnd window, char16_t* buffer, int maxCount) override {
    return real_.GetClassName(window, buffer, maxCount);
  }
  platform::Hwnd GetForegroundWindow() override { return real_.GetForegroundWindow(); }
  bool SetForegroundWindow(platform::Hwnd window) override {
    return real_.SetForegroundWindow(window);
  }
  bool ShowWindowAsync(platform::Hwnd window, int command) override {
    return real_.ShowWindowAsync(window, command);
  }
  bool BringWindowToTop(platform::Hwnd window) override {
    broughtToTop.push_back(window);
    return real_.BringWindowToTop(window);
  }
  platform::Hwnd GetActiveWindow() override { return real_.GetActiveWindow(); }

  std::vector<platform::Hwnd> broughtToTop;

 private:
  win32::Win32Windows real_;
};

}  // namespace tb::test
