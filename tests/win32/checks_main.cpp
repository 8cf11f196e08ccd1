// The registry checks against the real registry, through the Win32 adapters.
// Prints one line per failed check and a closing count; exits non-zero when
// anything failed.
#include <windows.h>

#include <cstdio>

#include "platform/win32/registry.h"
#include "tests/conformance/registry_checks.h"

int main() {
  tb::win32::Win32Registry registry;
  tb::test::CheckLog log;
  const std::u16string scratch = u"Software\\Tunebadge Checks";

  tb::test::CheckRegistryCalls(registry, scratch, log);
  tb::test::CheckRegistryRoutines(registry, scratch, log);
  tb::test::CheckSettingsStore(registry, log);

  for (const auto& failure : log.Failures()) {
    std::printf("FAIL %s\n", failure.c_str());
  }
  const int failed = static_cast<int>(log.Failures().size());
  std::printf("win32 checks: %d passed, %d failed\n", log.Checks() - failed, failed);
  return failed == 0 ? 0 : 1;
}
