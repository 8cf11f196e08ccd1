// The test host for Tunebadge.dll, run under Wine: host_main <Tunebadge.dll>.
//
// It stands in for the MsgPlus host (creating the plug-in by ProgID, calling
// it through its vtable and by name, pumping messages) and for Messenger (a
// class object registered for Messenger's CLSID). Prints one line per failed
// check and a closing count; exits non-zero when anything failed.
#include <windows.h>

#include <objbase.h>
#include <shlwapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/settings.h"
#include "tests/win32/host/host.h"
#include "tests/win32/support/com_support.h"

namespace tb::test {

std::u16string ReadText(HKEY root, const std::u16string& path, const std::u16string& name,
                        const std::u16string& missing) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegGetValueW(root, Wide(path.c_str()), Wide(name.c_str()), RRF_RT_REG_SZ, &type, nullptr,
                   &size) != ERROR_SUCCESS) {
    return missing;
  }
  std::vector<wchar_t> text(size / sizeof(wchar_t) + 1);
  size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegGetValueW(root, Wide(path.c_str()), Wide(name.c_str()), RRF_RT_REG_SZ, &type, text.data(),
                   &size) != ERROR_SUCCESS) {
    return missing;
  }
  return std::u16string(reinterpret_cast<const char16_t*>(text.data()));
}

}  // namespace tb::test

namespace {

std::u16string FullPath(const char* argument) {
  wchar_t wide[MAX_PATH * 2] = {};
  if (MultiByteToWideChar(CP_ACP, 0, argument, -1, wide, MAX_PATH * 2) == 0) {
    return {};
  }
  wchar_t full[MAX_PATH * 2] = {};
  const DWORD length = GetFullPathNameW(wide, MAX_PATH * 2, full, nullptr);
  return length == 0 ? std::u16string() : std::u16string(reinterpret_cast<char16_t*>(full), length);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::printf("usage: %s <Tunebadge.dll>\n", argv[0]);
    return 2;
  }
  tb::test::CheckLog log;
  tb::test::MessengerStandInState messenger;
  tb::test::Host host{FullPath(argv[1]), messenger, log};
  log.Ok(GetFileAttributesW(tb::test::Wide(host.dllPath.c_str())) != INVALID_FILE_ATTRIBUTES,
         "the library is at " + tb::test::Show(host.dllPath));

  log.Equal(tb::test::Hex(CoInitialize(nullptr)), tb::test::Hex(S_OK), "CoInitialize");
  {
    const tb::test::MessengerStandIn standIn(messenger);
    log.Equal(tb::test::Hex(standIn.Registered()), tb::test::Hex(S_OK),
              "CoRegisterClassObject of the Messenger stand-in");

    // Whatever an earlier run left behind.
    tb::test::RunRegsvr32(u"/u /s", host.dllPath);
    SHDeleteKeyW(HKEY_CURRENT_USER, tb::test::Wide(tb::kSettingsKeyPath));
    tb::test::CheckNothingRegistered(host, "is absent before registration");

    tb::test::CheckRegistration(host);
    tb::test::CheckTypeLibrary(host);
    tb::test::CheckVersionResource(host);
    tb::test::CheckFailedStartup(host);
    tb::test::CheckStartup(host);
    tb::test::CheckVtableCalls(host);
    tb::test::CheckDispatchCalls(host);
    tb::test::CheckPollRate(host);
    tb::test::CheckUnregistration(host);
  }
  CoUninitialize();
  tb::test::CheckLibraryFreed(host);

  for (const auto& failure : log.Failures()) {
    std::printf("FAIL %s\n", failure.c_str());
  }
  const int failed = static_cast<int>(log.Failures().size());
  std::printf("host checks: %d passed, %d failed\n", log.Checks() - failed, failed);
  return failed == 0 ? 0 : 1;
}
