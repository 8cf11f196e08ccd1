#include <gtest/gtest.h>

#include "common/mod_reg.h"
#include "installer/setup_paths.h"
#include "installer/setup_routines.h"
#include "platform/registry_data.h"
#include "platform/sim/desktop.h"

namespace tb::setup {
namespace {

using platform::kHkeyLocalMachine;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(ReadRegistryString, GivesOnlyRegSzTextCutAtItsFirstNul) {
  sim::SimDesktop desktop;
  auto& registry = desktop.registry;
  registry.PutString(kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue, u"C:\\MsgPlus");
  EXPECT_EQ(ReadRegistryString(registry, kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue),
            u"C:\\MsgPlus");

  // A NUL inside the data ends the text; a value with no NUL at all is
  // read whole.
  std::vector<std::uint8_t> cut = platform::StringData(std::u16string(u"C:\\A\0junk", 9));
  registry.Put(kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue, {platform::kRegSz, cut});
  EXPECT_EQ(ReadRegistryString(registry, kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue),
            u"C:\\A");
  std::vector<std::uint8_t> bare = platform::StringData(u"C:\\B");
  bare.resize(bare.size() - 2);
  registry.Put(kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue, {platform::kRegSz, bare});
  EXPECT_EQ(ReadRegistryString(registry, kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue),
            u"C:\\B");

  // Any other type is no folder at all, even when its bytes spell one.
  for (const std::uint32_t type :
       {platform::kRegExpandSz, platform::kRegBinary, platform::kRegMultiSz}) {
    registry.Put(kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue,
                 {type, platform::StringData(u"C:\\MsgPlus")});
    EXPECT_EQ(ReadRegistryString(registry, kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue), u"")
        << "type " << type;
  }
  registry.PutDword(kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue, 7);
  EXPECT_EQ(ReadRegistryString(registry, kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue), u"");
  EXPECT_EQ(ReadRegistryString(registry, kHkeyLocalMachine, u"SOFTWARE\\Nowhere", u"x"), u"");
  EXPECT_EQ(registry.OpenHandles(), 0U);
}

TEST(CopyWholeFile, MakesTheDestinationExactlyTheSource) {
  sim::SimDesktop desktop;
  desktop.files.Put(u"C:\\src\\a.dll", Bytes("MZ new"));
  desktop.files.Put(u"C:\\dst\\a.dll", Bytes("MZ an older and much longer library"));
  CopyWholeFile(desktop.files, u"C:\\src\\a.dll", u"C:\\dst\\a.dll");
  EXPECT_EQ(desktop.files.Get(u"C:\\dst\\a.dll"), Bytes("MZ new"))
      << "a longer destination is replaced wholly, not overwritten at its start";

  CopyWholeFile(desktop.files, u"C:\\src\\a.dll", u"C:\\dst\\fresh.dll");
  EXPECT_EQ(desktop.files.Get(u"C:\\dst\\fresh.dll"), Bytes("MZ new"));

  desktop.files.Put(u"C:\\src\\empty", {});
  CopyWholeFile(desktop.files, u"C:\\src\\empty", u"C:\\dst\\a.dll");
  EXPECT_EQ(desktop.files.Get(u"C:\\dst\\a.dll"), Bytes(""));
  EXPECT_EQ(desktop.files.OpenHandles(), 0U);
}

TEST(CopyWholeFile, AMissingSourceLeavesTheDestinationAndNamesTheFile) {
  sim::SimDesktop desktop;
  desktop.files.Put(u"C:\\dst\\a.dll", Bytes("MZ old"));
  try {
    CopyWholeFile(desktop.files, u"C:\\src\\a.dll", u"C:\\dst\\a.dll");
    FAIL() << "no error for a missing source";
  } catch (const InstallError& error) {
    EXPECT_EQ(error.Description(), u"Cannot open C:\\src\\a.dll for reading.");
  }
  EXPECT_EQ(desktop.files.Get(u"C:\\dst\\a.dll"), Bytes("MZ old"));
  EXPECT_EQ(desktop.files.OpenHandles(), 0U);
}

// Each file call of a copy, made to fail in turn: the copy reports the file,
// and no handle is left open.
TEST(CopyWholeFile, ClosesEveryHandleWhicheverCallFails) {
  const std::vector<std::pair<const char*, std::u16string>> faults = {
      {"CreateFileW", u"Cannot open C:\\src\\a.dll for reading."},
      {"GetFileSize", u"Cannot read C:\\src\\a.dll."},
      {"ReadFile", u"Cannot read C:\\src\\a.dll."},
      {"WriteFile", u"Cannot write C:\\dst\\a.dll."},
  };
  for (const auto& [call, description] : faults) {
    sim::SimDesktop desktop;
    desktop.files.Put(u"C:\\src\\a.dll", Bytes("MZ new"));
    desktop.faults.FailCall(call);
    try {
      CopyWholeFile(desktop.files, u"C:\\src\\a.dll", u"C:\\dst\\a.dll");
      ADD_FAILURE() << call << ": no error";
    } catch (const InstallError& error) {
      EXPECT_EQ(error.Description(), description) << call;
    }
    EXPECT_EQ(desktop.files.OpenHandles(), 0U) << call;
  }

  sim::SimDesktop locked;
  locked.files.Put(u"C:\\src\\a.dll", Bytes("MZ new"));
  locked.faults.FailCall("CreateFileW", 2);  // the destination, e.g. a library in use
  EXPECT_THROW(CopyWholeFile(locked.files, u"C:\\src\\a.dll", u"C:\\dst\\a.dll"), InstallError);
  EXPECT_EQ(locked.files.OpenHandles(), 0U);
  EXPECT_FALSE(locked.files.Get(u"C:\\dst\\a.dll"));
}

TEST(RegistryRoutines, CreateWriteAndDeleteWithEveryKeyClosed) {
  sim::SimDesktop desktop;
  auto& registry = desktop.registry;
  EXPECT_EQ(CreateRegistryKey(registry, kHkeyLocalMachine, kUiPluginKey), platform::kErrorSuccess);
  EXPECT_TRUE(registry.KeyExists(kHkeyLocalMachine, kUiPluginKey));
  EXPECT_EQ(WriteRegistryDword(registry, kHkeyLocalMachine, kUiPluginKey, u"Capabilities", 1),
            platform::kErrorSuccess);
  const auto dword = registry.Get(kHkeyLocalMachine, kUiPluginKey, u"Capabilities");
  ASSERT_TRUE(dword);
  EXPECT_EQ(dword->type, platform::kRegDword);
  EXPECT_EQ(dword->data, platform::DwordData(1));

  EXPECT_EQ(DeleteRegistryValue(registry, kHkeyLocalMachine, kUiPluginKey, u"Capabilities"),
            platform::kErrorSuccess);
  EXPECT_EQ(DeleteRegistryValue(registry, kHkeyLocalMachine, kUiPluginKey, u"Capabilities"),
            platform::kErrorFileNotFound);
  EXPECT_EQ(DeleteRegistryValue(registry, kHkeyLocalMachine, u"SOFTWARE\\Nowhere", u"x"),
            platform::kErrorFileNotFound);
  EXPECT_EQ(DeleteRegistryKey(registry, kHkeyLocalMachine, kUiPluginKey), platform::kErrorSuccess);
  EXPECT_FALSE(registry.KeyExists(kHkeyLocalMachine, kUiPluginKey));
  EXPECT_EQ(DeleteRegistryKey(registry, kHkeyLocalMachine, kUiPluginKey),
            platform::kErrorFileNotFound);

  registry.SetReadOnly(kHkeyLocalMachine, true);
  EXPECT_EQ(WriteRegistryDword(registry, kHkeyLocalMachine, kUiPluginKey, u"Capabilities", 1),
            platform::kErrorAccessDenied);
  EXPECT_EQ(registry.OpenHandles(), 0U);

  desktop.faults.FailCall("RegSetValueExW");
  registry.SetReadOnly(kHkeyLocalMachine, false);
  EXPECT_NE(WriteRegistryDword(registry, kHkeyLocalMachine, kUiPluginKey, u"Capabilities", 1),
            platform::kErrorSuccess);
  EXPECT_EQ(registry.OpenHandles(), 0U) << "a refused write still closes its key";
}

TEST(OpenHitCounter, OpensNothingWhileNoHostIsConfigured) {
  sim::SimDesktop desktop;
  EXPECT_EQ(HitCounterAddress(kHitCounterHost), u"");
  OpenHitCounter(desktop.shell, HitCounterAddress(kHitCounterHost));
  EXPECT_TRUE(desktop.shell.Opened().empty());

  const std::u16string address = HitCounterAddress(u"counter.example");
  EXPECT_EQ(address, u"http://counter.example/inhits.php?id=71");
  OpenHitCounter(desktop.shell, address);
  ASSERT_EQ(desktop.shell.Opened().size(), 1U);
  EXPECT_EQ(desktop.shell.Opened()[0].verb, u"open");
  EXPECT_EQ(desktop.shell.Opened()[0].file, address);
  EXPECT_EQ(desktop.shell.Opened()[0].show, 0) << "hidden";

  desktop.faults.FailCall("ShellExecuteW");
  OpenHitCounter(desktop.shell, address);  // a failure is ignored
  EXPECT_EQ(desktop.shell.Opened().size(), 1U);
}

TEST(RemoveOldPlugin, DeletesTheLibraryInThePluginFolderAndIgnoresFailures) {
  sim::SimDesktop desktop;
  desktop.registry.PutString(kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue, u"C:\\Plus");
  desktop.files.Put(u"C:\\Plus\\Tunebadge.dll", Bytes("MZ"));
  desktop.files.Put(u"C:\\Plus\\Other.dll", Bytes("MZ"));
  RemoveOldPlugin(desktop.registry, desktop.files);
  EXPECT_FALSE(desktop.files.Get(u"C:\\Plus\\Tunebadge.dll"));
  EXPECT_TRUE(desktop.files.Get(u"C:\\Plus\\Other.dll"));
  RemoveOldPlugin(desktop.registry, desktop.files);  // nothing there: no failure
  EXPECT_EQ(desktop.registry.OpenHandles(), 0U);
}

TEST(FolderOf, CutsAtTheLastBackslash) {
  EXPECT_EQ(FolderOf(u"C:\\Dist\\TunebadgeSetup.exe"), u"C:\\Dist");
  EXPECT_EQ(FolderOf(u"C:\\setup.exe"), u"C:");
  EXPECT_EQ(FolderOf(u"setup.exe"), u"");
  EXPECT_EQ(FolderOf(u""), u"");
}

TEST(SameFolder, IgnoresLetterCaseAndAClosingBackslash) {
  EXPECT_TRUE(SameFolder(u"C:\\Program Files\\Plus", u"c:\\program files\\PLUS\\"));
  EXPECT_FALSE(SameFolder(u"C:\\Plus", u"C:\\Plus2"));
  EXPECT_FALSE(SameFolder(u"C:\\Plus", u""));
}

}  // namespace
}  // namespace tb::setup
