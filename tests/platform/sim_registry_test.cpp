#include <gtest/gtest.h>

#include "platform/registry_data.h"
#include "platform/scoped_key.h"
#include "platform/sim/desktop.h"
#include "tests/conformance/registry_checks.h"

namespace tb {
namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using platform::RegKey;
using platform::Status;

const std::u16string kScratch = u"Software\\Tunebadge Checks";

// The same checks pass against the real registry under Wine.
TEST(SimRegistryConformance, BehavesAsWindowsRegistry) {
  sim::SimDesktop world;
  test::CheckLog log;
  test::CheckRegistryCalls(world.registry, kScratch, log);
  test::CheckRegistryRoutines(world.registry, kScratch, log);
  test::CheckSettingsStore(world.registry, log);
  EXPECT_TRUE(log.Failures().empty()) << log.Report();
  EXPECT_GT(log.Checks(), 40);
  EXPECT_EQ(world.registry.OpenHandles(), 0U) << "the checks close every key they open";
}

TEST(SimRegistry, CountsOpenHandlesUntilClosed) {
  sim::SimDesktop world;
  RegKey a = 0;
  RegKey b = 0;
  ASSERT_EQ(world.registry.CreateKey(kHkeyCurrentUser, u"Software\\X", &a), 0);
  ASSERT_EQ(world.registry.OpenKey(kHkeyCurrentUser, u"Software\\X", platform::kKeyRead, &b), 0);
  EXPECT_NE(a, b);
  EXPECT_EQ(world.registry.OpenHandles(), 2U);
  world.registry.CloseKey(a);
  EXPECT_EQ(world.registry.OpenHandles(), 1U);
  EXPECT_EQ(world.registry.CloseKey(a), platform::kErrorInvalidHandle) << "closed twice";
  world.registry.CloseKey(b);
  EXPECT_EQ(world.registry.OpenHandles(), 0U);
  EXPECT_EQ(world.registry.CloseKey(kHkeyCurrentUser), 0) << "a predefined root always closes";
}

TEST(SimRegistry, FailsANamedCallOnItsNthOccurrence) {
  sim::SimDesktop world;
  world.faults.FailCall("RegOpenKeyExW", 2);
  world.registry.PutString(kHkeyCurrentUser, u"K", u"V", u"x");
  RegKey key = 0;
  EXPECT_EQ(world.registry.OpenKey(kHkeyCurrentUser, u"K", platform::kKeyRead, &key), 0);
  world.registry.CloseKey(key);
  EXPECT_NE(world.registry.OpenKey(kHkeyCurrentUser, u"K", platform::kKeyRead, &key), 0);
  EXPECT_EQ(key, RegKey{0});
  EXPECT_EQ(world.registry.OpenKey(kHkeyCurrentUser, u"K", platform::kKeyRead, &key), 0)
      << "only the second call fails";
  world.registry.CloseKey(key);
  EXPECT_EQ(world.faults.Injected(), 1U);
  EXPECT_EQ(world.faults.CountOf("RegOpenKeyExW"), 3U);
  EXPECT_EQ(world.registry.OpenHandles(), 0U);
}

TEST(SimRegistry, FailsEveryCallFromTheNthWhenAsked) {
  sim::SimDesktop world;
  world.faults.FailCall("RegCreateKeyExW", 1, true);
  RegKey key = 0;
  for (int i = 0; i < 3; ++i) {
    EXPECT_NE(world.registry.CreateKey(kHkeyCurrentUser, u"K", &key), 0);
  }
  EXPECT_FALSE(world.registry.KeyExists(kHkeyCurrentUser, u"K")) << "a failed create makes nothing";
}

TEST(SimRegistry, FailsTheKthCallOverall) {
  sim::SimDesktop world;
  world.faults.FailOverall(2);
  RegKey key = 0;
  EXPECT_EQ(world.registry.CreateKey(kHkeyCurrentUser, u"K", &key), 0);
  const auto data = platform::StringData(u"v");
  EXPECT_NE(world.registry.SetValue(key, u"V", platform::kRegSz, data.data(), 4), 0);
  EXPECT_EQ(world.registry.CloseKey(key), 0);
  EXPECT_FALSE(world.registry.Get(kHkeyCurrentUser, u"K", u"V").has_value());
}

TEST(SimRegistry, ReadOnlyRootRefusesWritesButNotReads) {
  sim::SimDesktop world;
  world.registry.PutString(kHkeyLocalMachine, u"SOFTWARE\\Shared", u"PATH", u"C:\\x.exe");
  world.registry.SetReadOnly(kHkeyLocalMachine, true);
  RegKey key = 0;
  EXPECT_EQ(world.registry.OpenKey(kHkeyLocalMachine, u"SOFTWARE\\Shared", 0x2003F, &key),
            platform::kErrorAccessDenied)
      << "asking for write rights is refused";
  EXPECT_EQ(
      world.registry.OpenKey(kHkeyLocalMachine, u"SOFTWARE\\Shared", platform::kKeyRead, &key), 0);
  const auto data = platform::StringData(u"y");
  EXPECT_EQ(world.registry.SetValue(key, u"PATH", platform::kRegSz, data.data(), 4),
            platform::kErrorAccessDenied)
      << "a key opened for reading cannot be written";
  world.registry.CloseKey(key);
  EXPECT_EQ(world.registry.CreateKey(kHkeyLocalMachine, u"SOFTWARE\\New", &key),
            platform::kErrorAccessDenied);
  EXPECT_EQ(world.registry.DeleteKey(kHkeyLocalMachine, u"SOFTWARE\\Shared"),
            platform::kErrorAccessDenied);
  EXPECT_EQ(world.registry.OpenHandles(), 0U);
}

TEST(SimRegistry, EveryCallOnAKeyCountsAndRefusesAnUnknownOrDeletedKey) {
  sim::SimDesktop world;
  auto& registry = world.registry;
  RegKey gone = 0;
  registry.CreateKey(kHkeyCurrentUser, u"Gone", &gone);
  registry.DeleteKey(kHkeyCurrentUser, u"Gone");
  const std::size_t before = world.faults.CallCount();
  RegKey key = 0;
  for (const RegKey on : {RegKey{0x1234}, gone}) {
    const Status code = on == gone ? platform::kErrorKeyDeleted : platform::kErrorInvalidHandle;
    EXPECT_EQ(registry.OpenKey(on, u"Sub", platform::kKeyRead, &key), code);
    EXPECT_EQ(registry.CreateKey(on, u"Sub", &key), code);
    EXPECT_EQ(registry.QueryValue(on, u"V", nullptr, nullptr, nullptr), code);
    EXPECT_EQ(registry.SetValue(on, u"V", platform::kRegBinary, nullptr, 0), code);
    EXPECT_EQ(registry.DeleteValue(on, u"V"), code);
    EXPECT_EQ(registry.DeleteKey(on, u"Sub"), on == gone ? platform::kErrorFileNotFound : code);
  }
  EXPECT_EQ(world.faults.CallCount() - before, 12U) << "a refused call still counts";
  registry.CloseKey(gone);
}

TEST(SimRegistry, RootsAreSeparateTreesAndPathsEndAtNul) {
  sim::SimDesktop world;
  world.registry.PutString(kHkeyCurrentUser, u"Software\\Same", u"V", u"user");
  world.registry.PutString(kHkeyLocalMachine, u"Software\\Same", u"V", u"machine");
  EXPECT_EQ(world.registry.GetString(kHkeyCurrentUser, u"software\\same", u"v"), u"user");
  EXPECT_EQ(world.registry.GetString(kHkeyLocalMachine, u"Software\\Same", u"V"), u"machine");
  RegKey key = 0;
  const std::u16string withNul(u"Software\\Same\0ignored", 21);
  EXPECT_EQ(world.registry.OpenKey(kHkeyCurrentUser, withNul, platform::kKeyRead, &key), 0);
  world.registry.CloseKey(key);
  EXPECT_EQ(world.registry.OpenKey(kHkeyCurrentUser, u"\\Software", platform::kKeyRead, &key), 161)
      << "a path may not begin with a backslash";
}

}  // namespace
}  // namespace tb
