#include <gtest/gtest.h>

#include "common/com_identity.h"
#include "platform/sim/desktop.h"
#include "plugin/core/registration.h"

namespace tb {
namespace {

using platform::kHkeyClassesRoot;

const std::u16string kClassKey = std::u16string(u"CLSID\\") + kClsidNick;

TEST(Registration, WritesTheClassAndItsProgId) {
  sim::SimDesktop desktop;
  ASSERT_EQ(RegisterServer(desktop.registry, u"C:\\Plugins\\Tunebadge.dll"), 0);
  EXPECT_EQ(desktop.registry.GetString(kHkeyClassesRoot, u"Tunebadge.Nick\\CLSID", u""),
            u"{1CC3A3F8-46D2-44CB-9A0B-DFC34FDC4D19}");
  EXPECT_EQ(desktop.registry.GetString(kHkeyClassesRoot, kClassKey + u"\\InprocServer32", u""),
            u"C:\\Plugins\\Tunebadge.dll");
  EXPECT_EQ(desktop.registry.GetString(kHkeyClassesRoot, kClassKey + u"\\InprocServer32",
                                       u"ThreadingModel"),
            u"Apartment");
  EXPECT_EQ(desktop.registry.GetString(kHkeyClassesRoot, kClassKey + u"\\ProgID", u""),
            u"Tunebadge.Nick");
  EXPECT_EQ(desktop.registry.GetString(kHkeyClassesRoot, kClassKey + u"\\TypeLib", u""),
            u"{C7570BE6-2992-473D-9CD4-E7EBB6BAD49F}");
  EXPECT_EQ(desktop.registry.OpenHandles(), 0U);
}

TEST(Registration, UnregisterRemovesEveryKeyAndLeavesOthersAlone) {
  sim::SimDesktop desktop;
  desktop.registry.PutString(kHkeyClassesRoot, u"CLSID\\{00000000-0000-0000-0000-000000000001}",
                             u"", u"someone else's");
  ASSERT_EQ(RegisterServer(desktop.registry, u"C:\\Tunebadge.dll"), 0);
  ASSERT_EQ(UnregisterServer(desktop.registry), 0);
  EXPECT_FALSE(desktop.registry.KeyExists(kHkeyClassesRoot, kClassKey));
  EXPECT_FALSE(desktop.registry.KeyExists(kHkeyClassesRoot, u"Tunebadge.Nick"));
  EXPECT_TRUE(desktop.registry.KeyExists(kHkeyClassesRoot, u"CLSID"));
  EXPECT_TRUE(desktop.registry.KeyExists(kHkeyClassesRoot,
                                         u"CLSID\\{00000000-0000-0000-0000-000000000001}"));
  EXPECT_EQ(UnregisterServer(desktop.registry), 0) << "unregistering twice is no failure";
}

TEST(Registration, AReadOnlyRegistryIsReported) {
  sim::SimDesktop desktop;
  desktop.registry.SetReadOnly(kHkeyClassesRoot, true);
  EXPECT_EQ(RegisterServer(desktop.registry, u"C:\\Tunebadge.dll"), platform::kErrorAccessDenied);
  desktop.registry.SetReadOnly(kHkeyClassesRoot, false);
  ASSERT_EQ(RegisterServer(desktop.registry, u"C:\\Tunebadge.dll"), 0);
  desktop.registry.SetReadOnly(kHkeyClassesRoot, true);
  EXPECT_EQ(UnregisterServer(desktop.registry), platform::kErrorAccessDenied);
  desktop.registry.SetReadOnly(kHkeyClassesRoot, false);
  desktop.faults.FailCall("RegDeleteKeyW");
  EXPECT_EQ(UnregisterServer(desktop.registry), platform::kErrorAccessDenied);
  EXPECT_FALSE(desktop.registry.KeyExists(kHkeyClassesRoot, u"Tunebadge.Nick")) << "all tried";
  EXPECT_EQ(desktop.registry.OpenHandles(), 0U);
}

}  // namespace
}  // namespace tb
