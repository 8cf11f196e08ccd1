// scenario_host: the scenario files of tunebadge-sandbox, played on real
// Windows against the real Tunebadge.dll.
//
//   scenario_host <Tunebadge.dll> FILE...
//
// Each file is played in a process of its own, with the library registered
// through regsvr32, created by its ProgID through COM and loaded afresh, and
// the registry cleaned of what an earlier run left. Prints each step and what
// the user's contacts see, and each failure as "FILE:LINE: expected X, got Y";
// exits 0 when every expectation held, 1 when one failed, 77 when every file
// asked for another desktop.
#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/win32/scenario_host/win32_world.h"
#include "tests/win32/support/regsvr32.h"
#include "tools/scenario/runner.h"

namespace {

using tb::scenario::kSkippedStatus;

// How long one file may take in its own process.
constexpr DWORD kFileBoundMs = 600000;

std::u16string Widen(const char* text) {
  wchar_t wide[MAX_PATH * 2] = {};
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, MAX_PATH * 2);
  return length <= 0 ? std::u16string()
                     : std::u16string(reinterpret_cast<const char16_t*>(wide),
                                      static_cast<std::size_t>(length - 1));
}

std::u16string FullPath(const char* argument) {
  const std::u16string wide = Widen(argument);
  wchar_t full[MAX_PATH * 2] = {};
  const DWORD length =
      GetFullPathNameW(reinterpret_cast<const wchar_t*>(wide.c_str()), MAX_PATH * 2, full, nullptr);
  return length == 0 ? std::u16string()
                     : std::u16string(reinterpret_cast<const char16_t*>(full), length);
}

// The one Messenger the plug-in sees: it outlives every world, as the
// plug-in keeps its Messenger objects to the end of the process.
tb::test::MessengerStandInState& Messenger() {
  static tb::test::MessengerStandInState state;
  return state;
}

int PlayFile(const std::u16string& dllPath, const char* path) {
  const auto steps = tb::scenario::ReadScenarioFile(path);
  if (!steps) {
    return 1;
  }
  std::printf("== %s\n", path);
  std::fflush(stdout);
  if (FAILED(CoInitialize(nullptr))) {
    std::fprintf(stderr, "%s: CoInitialize failed\n", path);
    return 1;
  }
  int status = 1;
  const int registered = tb::test::RunRegsvr32(u"/s", dllPath);
  if (registered != 0) {
    std::fprintf(stderr, "%s: regsvr32 /s could not register the library (exit %d)\n", path,
                 registered);
  } else {
    tb::test::Win32World world(Messenger());
    if (world.SetUpFailure()) {
      std::fprintf(stderr, "%s: %s\n", path, world.SetUpFailure()->c_str());
    } else {
      tb::scenario::Runner runner(world, stdout);
      runner.Run(*steps);
      status = tb::scenario::ReportRun(path, runner);
    }
  }
  tb::test::RunRegsvr32(u"/u /s", dllPath);
  CoUninitialize();
  return status;
}

// Runs this program again for one file; answers its exit status.
int PlayFileApart(const std::u16string& dllPath, const char* path) {
  wchar_t self[MAX_PATH * 2] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
  std::u16string line;
  for (const std::u16string& word :
       {std::u16string(reinterpret_cast<const char16_t*>(self)), dllPath, Widen(path)}) {
    line.append(line.empty() ? u"\"" : u" \"").append(word).append(u"\"");
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(line.data()), nullptr, nullptr, TRUE, 0,
                     nullptr, nullptr, &startup, &process) == FALSE) {
    std::fprintf(stderr, "%s: could not start a process for it\n", path);
    return 1;
  }
  DWORD exitCode = 1;
  if (WaitForSingleObject(process.hProcess, kFileBoundMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &exitCode);
  } else {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
    std::fprintf(stderr, "%s: did not end in time\n", path);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(exitCode);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: scenario_host <Tunebadge.dll> FILE...\n");
    return 2;
  }
  const std::u16string dllPath = FullPath(argv[1]);
  if (argc == 3) {
    return PlayFile(dllPath, argv[2]);
  }
  int failed = 0;
  int skipped = 0;
  for (int i = 2; i < argc; ++i) {
    std::fflush(stdout);
    const int status = PlayFileApart(dllPath, argv[i]);
    if (status == kSkippedStatus) {
      ++skipped;
    } else if (status != 0) {
      ++failed;
    }
  }
  if (failed != 0) {
    return 1;
  }
  return skipped == argc - 2 ? kSkippedStatus : 0;
}
