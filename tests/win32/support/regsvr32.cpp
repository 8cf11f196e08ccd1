#include "tests/win32/support/regsvr32.h"

#include <windows.h>

namespace tb::test {

int RunProgram(const std::u16string& commandLine, unsigned long boundMs) {
  std::u16string line = commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(line.data()), nullptr, nullptr, FALSE, 0,
                     nullptr, nullptr, &startup, &process) == FALSE) {
    return -1;
  }
  DWORD exitCode = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, boundMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &exitCode);
  } else {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(exitCode);
}

int RunRegsvr32(const std::u16string& arguments, const std::u16string& dllPath) {
  constexpr DWORD kBoundMs = 60000;
  // Under a loaded Wine a program now and then fails to start or ends
  // without an exit code of its own; such a run is tried twice more.
  constexpr int kTries = 3;
  int exitCode = -1;
  for (int i = 0; i < kTries && exitCode == -1; ++i) {
    exitCode = RunProgram(u"regsvr32.exe " + arguments + u" \"" + dllPath + u"\"", kBoundMs);
  }
  return exitCode;
}

}  // namespace tb::test
