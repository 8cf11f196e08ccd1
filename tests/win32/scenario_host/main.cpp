// scenario_host: the scenario files of tunebadge-sandbox, played on real
// Windows against the real Tunebadge.dll.
//
//   scenario_host <Tunebadge.dll> [--publisher <TunebadgePublisher.dll>] FILE...
//
// Each file is played in a process of its own, with the library (and the
// publishing plug-in, which Windows Media Player loads) registered through
// regsvr32, created by its ProgID through COM and loaded afresh, and the
// registry cleaned of what an earlier run left. Prints each step and what
// the user's contacts see, and each failure as "FILE:LINE: expected X, got Y";
// exits 0 when every expectation held, 1 when one failed, 77 when every file
// asked for another desktop.
#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <cstring>
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

// The libraries a file is played against; the publisher's path is empty
// when none was given.
struct Libraries {
  std::u16string plugin;
  std::u16string publisher;
};

int PlayFile(const Libraries& libraries, const char* path) {
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
  const int registered = tb::test::RunRegsvr32(u"/s", libraries.plugin);
  const int publisher =
      libraries.publisher.empty() ? 0 : tb::test::RunRegsvr32(u"/s", libraries.publisher);
  if (registered != 0 || publisher != 0) {
    std::fprintf(stderr, "%s: regsvr32 /s could not register the libraries (exit %d, %d)\n", path,
                 registered, publisher);
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
  tb::test::RunRegsvr32(u"/u /s", libraries.plugin);
  if (!libraries.publisher.empty()) {
    tb::test::RunRegsvr32(u"/u /s", libraries.publisher);
  }
  CoUninitialize();
  return status;
}

// Runs this program again for one file; answers its exit status.
int PlayFileApart(const Libraries& libraries, const char* path) {
  wchar_t self[MAX_PATH * 2] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
  std::vector<std::u16string> words = {std::u16string(reinterpret_cast<const char16_t*>(self)),
                                       libraries.plugin};
  if (!libraries.publisher.empty()) {
    words.insert(words.end(), {u"--publisher", libraries.publisher});
  }
  words.push_back(Widen(path));
  std::u16string line;
  for (const std::u16string& word : words) {
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
  int first = 2;
  Libraries libraries;
  if (argc > 3 && std::strcmp(argv[2], "--publisher") == 0) {
    libraries.publisher = FullPath(argv[3]);
    first = 4;
  }
  if (argc <= first) {
    std::fprintf(stderr,
                 "usage: scenario_host <Tunebadge.dll> [--publisher <TunebadgePublisher.dll>] "
                 "FILE...\n");
    return 2;
  }
  libraries.plugin = FullPath(argv[1]);
  if (argc == first + 1) {
    return PlayFile(libraries, argv[first]);
  }
  int failed = 0;
  int skipped = 0;
  for (int i = first; i < argc; ++i) {
    std::fflush(stdout);
    const int status = PlayFileApart(libraries, argv[i]);
    if (status == kSkippedStatus) {
      ++skipped;
    } else if (status != 0) {
      ++failed;
    }
  }
  if (failed != 0) {
    return 1;
  }
  return skipped == argc - first ? kSkippedStatus : 0;
}
