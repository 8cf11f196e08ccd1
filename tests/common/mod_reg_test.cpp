#include <gtest/gtest.h>

#include "common/mod_reg.h"
#include "platform/registry_data.h"
#include "platform/sim/desktop.h"

namespace tb {
namespace {

using platform::kHkeyCurrentUser;

const std::u16string kMetadata = u"Software\\Microsoft\\MediaPlayer\\CurrentMetadata";

TEST(ModReg, ARefusedWriteIsNotReported) {
  sim::SimDesktop world;
  for (const char* call : {"RegCreateKeyExW", "RegSetValueExW"}) {
    world.faults.Clear();
    world.faults.FailCall(call);
    EXPECT_NO_THROW(
        WriteRegistryString(world.registry, kHkeyCurrentUser, kMetadata, u"Title", u"lost"));
    EXPECT_FALSE(world.registry.Get(kHkeyCurrentUser, kMetadata, u"Title").has_value()) << call;
    EXPECT_EQ(world.registry.OpenHandles(), 0U) << call;
  }
}

TEST(ModReg, EveryFailingCallOfAReadGivesEmptyAndClosesItsKey) {
  sim::SimDesktop world;
  world.registry.PutString(kHkeyCurrentUser, kMetadata, u"Title", u"Song");
  world.registry.PutDword(kHkeyCurrentUser, kMetadata, u"AutoSend", 1);
  ASSERT_EQ(ReadRegistryString(world.registry, kHkeyCurrentUser, kMetadata, u"Title"), u"Song");
  const std::size_t stringCalls = world.faults.CallCount();
  for (std::size_t k = 1; k < stringCalls; ++k) {  // the last call is the close
    sim::SimDesktop failing;
    failing.registry.PutString(kHkeyCurrentUser, kMetadata, u"Title", u"Song");
    failing.faults.FailOverall(k);
    EXPECT_EQ(ReadRegistryString(failing.registry, kHkeyCurrentUser, kMetadata, u"Title"), u"")
        << "call " << k;
    EXPECT_EQ(failing.registry.OpenHandles(), 0U) << "call " << k;
  }
  sim::SimDesktop failing;
  failing.registry.PutDword(kHkeyCurrentUser, kMetadata, u"AutoSend", 1);
  failing.faults.FailCall("RegQueryValueExW");
  EXPECT_EQ(ReadRegistryDword(failing.registry, kHkeyCurrentUser, kMetadata, u"AutoSend"), 0);
  EXPECT_EQ(failing.registry.OpenHandles(), 0U);
}

TEST(ModReg, ReadsUnterminatedAndOddSizedStringsSafely) {
  sim::SimDesktop world;
  auto bytes = platform::StringData(u"abc");
  bytes.resize(6);
  world.registry.Put(kHkeyCurrentUser, kMetadata, u"Bare", {platform::kRegSz, bytes});
  EXPECT_EQ(ReadRegistryString(world.registry, kHkeyCurrentUser, kMetadata, u"Bare"), u"abc");
  bytes.resize(5);
  world.registry.Put(kHkeyCurrentUser, kMetadata, u"Odd", {platform::kRegSz, bytes});
  EXPECT_EQ(ReadRegistryString(world.registry, kHkeyCurrentUser, kMetadata, u"Odd"), u"ab");
  world.registry.Put(kHkeyCurrentUser, kMetadata, u"Empty", {platform::kRegSz, {}});
  EXPECT_EQ(ReadRegistryString(world.registry, kHkeyCurrentUser, kMetadata, u"Empty"), u"");
  world.registry.PutString(kHkeyCurrentUser, kMetadata, u"Cut", std::u16string(u"ab\0cd", 5));
  EXPECT_EQ(ReadRegistryString(world.registry, kHkeyCurrentUser, kMetadata, u"Cut"), u"ab")
      << "cut at the first NUL";
}

TEST(ModReg, ReadsShortOrLongDwordDataAsDefined) {
  sim::SimDesktop world;
  world.registry.Put(kHkeyCurrentUser, kMetadata, u"Short", {platform::kRegDword, {1, 0}});
  EXPECT_EQ(ReadRegistryDword(world.registry, kHkeyCurrentUser, kMetadata, u"Short"), 1)
      << "two bytes of DWORD data read as a number, not with garbage";
  world.registry.Put(kHkeyCurrentUser, kMetadata, u"Long",
                     {platform::kRegDword, {1, 0, 0, 0, 9, 9, 9, 9}});
  EXPECT_EQ(ReadRegistryDword(world.registry, kHkeyCurrentUser, kMetadata, u"Long"), 0)
      << "data too long for four bytes reads as 0";
  world.registry.PutDword(kHkeyCurrentUser, kMetadata, u"Negative", 0xFFFFFFFFU);
  EXPECT_EQ(ReadRegistryDword(world.registry, kHkeyCurrentUser, kMetadata, u"Negative"), -1);
  EXPECT_EQ(world.registry.OpenHandles(), 0U);
}

}  // namespace
}  // namespace tb
