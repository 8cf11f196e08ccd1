#include <gtest/gtest.h>

#include "common/settings.h"
#include "installer/frm_setup.h"
#include "installer/setup_paths.h"
#include "platform/registry_data.h"
#include "platform/sim/desktop.h"

namespace tb::setup {
namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// A machine with MsgPlus installed in C:\Plus and the distribution unpacked
// in the installer's own folder.
struct Machine {
  Machine() {
    desktop.processes.modulePath = u"C:\\Dist\\TunebadgeSetup.exe";
    desktop.registry.PutString(kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue, u"C:\\Plus");
    desktop.files.Put(u"C:\\Windows\\system32\\regsvr32.exe", Bytes("MZ regsvr32"));
    desktop.files.Put(u"C:\\Dist\\Tunebadge.dll", Bytes("MZ tunebadge"));
    desktop.files.Put(u"C:\\Dist\\data.cab", Bytes("MZ blogging"));
    desktop.files.Put(u"C:\\Dist\\data0.cab", Bytes("MZ forms"));
  }

  [[nodiscard]] std::vector<std::u16string> Started() const {
    std::vector<std::u16string> lines;
    for (const auto& started : desktop.processes.StartedPrograms()) {
      EXPECT_EQ(started.show, 0) << "regsvr32 runs hidden";
      lines.push_back(started.commandLine);
    }
    return lines;
  }
  [[nodiscard]] std::vector<std::u16string> Boxes() const {
    std::vector<std::u16string> texts;
    for (const auto& box : desktop.messageBoxes.Shown()) {
      texts.push_back(box.caption + u": " + box.text);
    }
    return texts;
  }
  [[nodiscard]] std::optional<std::u16string> Hklm(const std::u16string& path,
                                                   const std::u16string& name) const {
    return desktop.registry.GetString(kHkeyLocalMachine, path, name);
  }

  sim::SimDesktop desktop;
  FrmSetup form{SetupDesktop{desktop.registry, desktop.files, desktop.processes,
                             desktop.environment, desktop.shell, desktop.messageBoxes}};
};

class Setup : public ::testing::Test, public Machine {};

TEST_F(Setup, OpensWithTheMessengerWarningAndNoPlayerChosen) {
  form.Load();
  ASSERT_EQ(desktop.messageBoxes.Shown().size(), 1U);
  const auto& box = desktop.messageBoxes.Shown()[0];
  EXPECT_EQ(box.caption, u"Plugin Installer");
  EXPECT_EQ(box.text, u"Please make sure msn is closed");
  EXPECT_EQ(box.type, platform::kMbOk) << "no icon";
  EXPECT_TRUE(desktop.shell.Opened().empty()) << "no hit-counter host is configured";
  EXPECT_EQ(form.selected, PlayerChoice::kNone);
  EXPECT_FALSE(form.progressFull || form.unloaded);
}

TEST_F(Setup, InstallPlacesRegistersAndListsThePlugIn) {
  WriteSetting(desktop.registry, kCurrentTag, u" my own template");
  WriteSetting(desktop.registry, kOnOff, u"0");
  desktop.files.Put(u"C:\\Plus\\Tunebadge.dll", Bytes("MZ an earlier and longer Tunebadge"));
  form.selected = PlayerChoice::kMusicMatch;
  form.Install();

  EXPECT_EQ(desktop.files.Get(u"C:\\Plus\\Tunebadge.dll"), Bytes("MZ tunebadge"));
  EXPECT_EQ(desktop.files.Get(u"C:\\Plus\\blogging.dll"), Bytes("MZ blogging"));
  EXPECT_EQ(desktop.files.Get(u"C:\\Windows\\system32\\FM20.DLL"), Bytes("MZ forms"));
  const std::vector<std::u16string> started = {u"regsvr32 \"C:\\Plus\\Tunebadge.dll\"",
                                               u"regsvr32 \"C:\\Plus\\blogging.dll\""};
  EXPECT_EQ(Started(), started);
  EXPECT_EQ(Hklm(kRegisteredPluginsKey, u"Tunebadge"), u"Tunebadge.Nick");
  EXPECT_EQ(Hklm(kUiPluginKey, u"Description"), kDescriptionText);
  EXPECT_EQ(Hklm(kUiPluginKey, u"FriendlyName"), u"Tunebadge now playing")
      << "a name the player can show, not a resource of a library that is not there";
  const auto capabilities = desktop.registry.Get(kHkeyLocalMachine, kUiPluginKey, u"Capabilities");
  ASSERT_TRUE(capabilities);
  EXPECT_EQ(capabilities->type, platform::kRegDword);
  EXPECT_EQ(capabilities->data, platform::DwordData(1));

  // Every setting is reset: only the player is written.
  EXPECT_EQ(desktop.registry.GetString(kHkeyCurrentUser, kSettingsKeyPath, kPlayer), u"MusicMatch");
  EXPECT_FALSE(desktop.registry.Get(kHkeyCurrentUser, kSettingsKeyPath, kCurrentTag));
  EXPECT_FALSE(desktop.registry.Get(kHkeyCurrentUser, kSettingsKeyPath, kOnOff));

  const std::vector<std::u16string> boxes = {
      u"Succes!: Installation completed",
      std::u16string(u"Info: ") + kPrivacyText,
      u"Info: Please restart msn messenger",
  };
  EXPECT_EQ(Boxes(), boxes);
  const auto& shown = desktop.messageBoxes.Shown();
  EXPECT_EQ(shown[0].type, platform::kMbIconInformation);
  EXPECT_EQ(shown[1].type, platform::kMbIconStop);
  EXPECT_EQ(shown[2].type, platform::kMbIconInformation);
  EXPECT_TRUE(form.progressFull);
  EXPECT_TRUE(form.unloaded) << "an install ends the installer";
  EXPECT_EQ(desktop.registry.OpenHandles(), 0U);
  EXPECT_EQ(desktop.files.OpenHandles(), 0U);
}

TEST_F(Setup, EachPlayerChoiceIsStoredAndNoChoiceLeavesPlayerAbsent) {
  const std::vector<std::pair<int, std::optional<std::u16string>>> choices = {
      {1, u"Winamp"}, {2, u"MusicMatch"}, {3, u"WindowsMedia"}, {0, std::nullopt}};
  for (const auto& [option, player] : choices) {
    sim::SimDesktop machine;
    machine.processes.modulePath = u"C:\\Dist\\TunebadgeSetup.exe";
    machine.registry.PutString(kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue, u"C:\\Plus");
    machine.files.Put(u"C:\\Windows\\system32\\regsvr32.exe", Bytes("MZ"));
    machine.files.Put(u"C:\\Dist\\Tunebadge.dll", Bytes("MZ"));
    WriteSetting(machine.registry, kPlayer, u"Winamp");
    FrmSetup setup(SetupDesktop{machine.registry, machine.files, machine.processes,
                                machine.environment, machine.shell, machine.messageBoxes});
    setup.selected = static_cast<PlayerChoice>(option);
    setup.Install();
    EXPECT_EQ(machine.registry.GetString(kHkeyCurrentUser, kSettingsKeyPath, kPlayer), player)
        << "option " << option;
  }
}

TEST_F(Setup, AMissingPluginFolderChangesNothingAndKeepsTheWindowOpen) {
  for (const bool emptyValue : {false, true}) {
    sim::SimDesktop machine;
    machine.processes.modulePath = u"C:\\Dist\\TunebadgeSetup.exe";
    machine.files.Put(u"C:\\Windows\\system32\\regsvr32.exe", Bytes("MZ"));
    machine.files.Put(u"C:\\Dist\\Tunebadge.dll", Bytes("MZ"));
    if (emptyValue) {
      machine.registry.PutString(kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue, u"");
    }
    WriteSetting(machine.registry, kCurrentTag, u" mine");
    FrmSetup setup(SetupDesktop{machine.registry, machine.files, machine.processes,
                                machine.environment, machine.shell, machine.messageBoxes});
    setup.selected = PlayerChoice::kWinamp;
    setup.Install();
    ASSERT_EQ(machine.messageBoxes.Shown().size(), 1U);
    EXPECT_NE(machine.messageBoxes.Shown()[0].text.find(u"\"PluginDir\""), std::u16string::npos);
    EXPECT_EQ(machine.messageBoxes.Shown()[0].type, platform::kMbIconStop);
    EXPECT_FALSE(setup.unloaded);
    EXPECT_EQ(ReadSetting(machine.registry, kCurrentTag), u" mine") << "settings untouched";
    EXPECT_EQ(ReadSetting(machine.registry, kPlayer), u"");
    EXPECT_FALSE(machine.files.Get(u"\\Tunebadge.dll"));
    EXPECT_TRUE(machine.processes.StartedPrograms().empty());
    EXPECT_FALSE(machine.registry.KeyExists(kHkeyLocalMachine, kRegisteredPluginsKey));
    EXPECT_FALSE(machine.registry.KeyExists(kHkeyLocalMachine, kUiPluginKey));
  }
}

TEST_F(Setup, AMissingLibraryChangesNothingAndNamesIt) {
  desktop.files.DeleteFile(u"C:\\Dist\\Tunebadge.dll");
  WriteSetting(desktop.registry, kCurrentTag, u" mine");
  form.selected = PlayerChoice::kWinamp;
  form.Install();
  ASSERT_EQ(desktop.messageBoxes.Shown().size(), 1U);
  EXPECT_EQ(desktop.messageBoxes.Shown()[0].text,
            u"\"Tunebadge.dll\" is not in \"C:\\Dist\". Please unpack the whole distribution "
            u"and start the installer from there. Nothing has been changed.");
  EXPECT_FALSE(form.unloaded);
  EXPECT_EQ(ReadSetting(desktop.registry, kCurrentTag), u" mine");
  EXPECT_FALSE(desktop.files.Get(u"C:\\Plus\\blogging.dll"));
  EXPECT_FALSE(desktop.files.Get(u"C:\\Windows\\system32\\FM20.DLL"));
  EXPECT_TRUE(desktop.processes.StartedPrograms().empty());

  // Once the library is there, the same window installs.
  desktop.files.Put(u"C:\\Dist\\Tunebadge.dll", Bytes("MZ tunebadge"));
  form.Install();
  EXPECT_TRUE(form.unloaded);
  EXPECT_EQ(ReadSetting(desktop.registry, kPlayer), u"Winamp");
}

TEST_F(Setup, AFormsLibraryInTheSystemFolderIsNeverReplaced) {
  desktop.files.Put(u"C:\\Windows\\system32\\FM20.DLL", Bytes("MZ the system's own"));
  form.Install();
  EXPECT_EQ(desktop.files.Get(u"C:\\Windows\\system32\\FM20.DLL"), Bytes("MZ the system's own"));
  EXPECT_TRUE(form.unloaded);

  // Nor is one copied when the distribution holds none, or the system
  // folder is unknown.
  sim::SimDesktop bare;
  bare.processes.modulePath = u"C:\\Dist\\TunebadgeSetup.exe";
  bare.registry.PutString(kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue, u"C:\\Plus");
  bare.files.Put(u"C:\\Windows\\system32\\regsvr32.exe", Bytes("MZ"));
  bare.files.Put(u"C:\\Dist\\Tunebadge.dll", Bytes("MZ"));
  bare.files.Put(u"C:\\Dist\\data0.cab", Bytes("MZ forms"));
  bare.environment.Set(u"WINDIR", std::nullopt);
  FrmSetup setup(SetupDesktop{bare.registry, bare.files, bare.processes, bare.environment,
                              bare.shell, bare.messageBoxes});
  setup.Install();
  EXPECT_FALSE(bare.files.Get(u"C:\\Windows\\system32\\FM20.DLL"));
  EXPECT_FALSE(bare.files.Get(u"\\system32\\FM20.DLL"));
  EXPECT_TRUE(setup.unloaded);
}

TEST_F(Setup, WithoutThePublishingPlugInItSaysSoOnceAndGoesOn) {
  desktop.files.DeleteFile(u"C:\\Dist\\data.cab");
  form.Install();
  const auto boxes = Boxes();
  ASSERT_EQ(boxes.size(), 4U);
  EXPECT_NE(boxes[0].find(u"Windows Media Player support needs"), std::u16string::npos);
  EXPECT_NE(boxes[0].find(u"\"data.cab\""), std::u16string::npos);
  EXPECT_EQ(boxes[1], u"Succes!: Installation completed");
  EXPECT_FALSE(desktop.files.Get(u"C:\\Plus\\blogging.dll"));
  EXPECT_EQ(Started(), std::vector<std::u16string>{u"regsvr32 \"C:\\Plus\\Tunebadge.dll\""});
  EXPECT_EQ(Hklm(kRegisteredPluginsKey, u"Tunebadge"), u"Tunebadge.Nick");
  EXPECT_TRUE(form.unloaded);
}

// Unpacked into the plug-in folder itself (in any spelling of its name), the
// installer keeps the library it brought instead of deleting the only copy.
TEST_F(Setup, StartedFromThePluginFolderItKeepsTheLibraryItBrought) {
  for (const std::u16string pluginDir : {u"C:\\Dist", u"c:\\DIST\\"}) {
    SCOPED_TRACE(std::string(pluginDir.begin(), pluginDir.end()));
    Machine machine;
    machine.desktop.registry.PutString(kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue, pluginDir);
    machine.form.Install();
    EXPECT_EQ(machine.desktop.files.Get(u"C:\\Dist\\Tunebadge.dll"), Bytes("MZ tunebadge"));
    EXPECT_EQ(machine.desktop.files.Get(u"C:\\Dist\\blogging.dll"), Bytes("MZ blogging"));
    ASSERT_FALSE(machine.Boxes().empty());
    EXPECT_EQ(machine.Boxes()[0], u"Succes!: Installation completed");
    EXPECT_EQ(machine.Started().size(), 2U);
    EXPECT_EQ(machine.desktop.files.OpenHandles(), 0U);
  }
}

TEST_F(Setup, AFailedCopyOrStartEndsTheInstallerWithAReportNamingIt) {
  // The plug-in folder's library is in use: it cannot be opened for writing.
  desktop.faults.FailCall("CreateFileW", 2);
  form.Install();
  ASSERT_EQ(Boxes().size(), 1U);
  EXPECT_EQ(Boxes()[0], u"Plugin Installer: Cannot open C:\\Plus\\Tunebadge.dll for writing.");
  EXPECT_TRUE(form.unloaded);
  EXPECT_TRUE(desktop.processes.StartedPrograms().empty());
  EXPECT_EQ(desktop.files.OpenHandles(), 0U);

  sim::SimDesktop machine;
  machine.processes.modulePath = u"C:\\Dist\\TunebadgeSetup.exe";
  machine.registry.PutString(kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue, u"C:\\Plus");
  machine.files.Put(u"C:\\Dist\\Tunebadge.dll", Bytes("MZ"));
  machine.files.Put(u"C:\\Dist\\data.cab", Bytes("MZ"));
  FrmSetup setup(SetupDesktop{machine.registry, machine.files, machine.processes,
                              machine.environment, machine.shell, machine.messageBoxes});
  setup.Install();  // no regsvr32 anywhere
  ASSERT_EQ(machine.messageBoxes.Shown().size(), 1U);
  EXPECT_EQ(machine.messageBoxes.Shown()[0].text,
            u"Cannot start regsvr32 \"C:\\Plus\\Tunebadge.dll\".");
  EXPECT_TRUE(setup.unloaded);
  EXPECT_TRUE(machine.files.Get(u"C:\\Plus\\blogging.dll")) << "steps done stay done";
  EXPECT_FALSE(machine.registry.KeyExists(kHkeyLocalMachine, kRegisteredPluginsKey));
}

// Every seam call of an install made to fail in turn: the installer never
// crashes, ends or stays open with a report, and leaves no handle open.
TEST_F(Setup, EveryInjectedFaultEndsInADefinedOutcomeWithNothingLeftOpen) {
  std::size_t calls = 0;
  {
    Machine clean;
    const std::size_t before = clean.desktop.faults.CallCount();
    clean.form.Install();
    calls = clean.desktop.faults.CallCount() - before;
  }
  ASSERT_GT(calls, 20U);
  for (std::size_t k = 1; k <= calls; ++k) {
    Machine run;
    run.desktop.faults.FailOverall(k);
    run.form.selected = PlayerChoice::kWindowsMedia;
    run.form.Install();
    EXPECT_FALSE(run.desktop.messageBoxes.Shown().empty()) << "fault " << k;
    EXPECT_EQ(run.desktop.registry.OpenHandles(), 0U) << "fault " << k;
    EXPECT_EQ(run.desktop.files.OpenHandles(), 0U) << "fault " << k;
  }
}

TEST_F(Setup, UninstallUnlistsThePlugInAndKeepsItsFilesAndSettings) {
  form.selected = PlayerChoice::kWinamp;
  form.Install();
  FrmSetup again(SetupDesktop{desktop.registry, desktop.files, desktop.processes,
                              desktop.environment, desktop.shell, desktop.messageBoxes});
  again.Uninstall();
  EXPECT_EQ(Boxes().back(), u"Info: Uninstall Succesvol");
  EXPECT_FALSE(again.unloaded) << "the window stays open";
  EXPECT_FALSE(Hklm(kRegisteredPluginsKey, u"Tunebadge"));
  EXPECT_TRUE(desktop.registry.KeyExists(kHkeyLocalMachine, kRegisteredPluginsKey));
  EXPECT_FALSE(desktop.registry.KeyExists(kHkeyLocalMachine, kUiPluginKey));
  EXPECT_TRUE(desktop.files.Get(u"C:\\Plus\\Tunebadge.dll"));
  EXPECT_TRUE(desktop.files.Get(u"C:\\Plus\\blogging.dll"));
  EXPECT_TRUE(desktop.files.Get(u"C:\\Windows\\system32\\FM20.DLL"));
  EXPECT_EQ(ReadSetting(desktop.registry, kPlayer), u"Winamp");
  EXPECT_EQ(desktop.registry.OpenHandles(), 0U);
}

TEST_F(Setup, UninstallOfWhatWasNeverInstalledSucceedsAndARefusalFails) {
  form.Uninstall();
  EXPECT_EQ(Boxes(), std::vector<std::u16string>{u"Info: Uninstall Succesvol"});

  desktop.registry.PutString(kHkeyLocalMachine, kRegisteredPluginsKey, u"Tunebadge",
                             u"Tunebadge.Nick");
  desktop.registry.SetReadOnly(kHkeyLocalMachine, true);  // an ordinary user
  form.Uninstall();
  EXPECT_EQ(Boxes().back(), u"Error: Uninstall Failed");
  EXPECT_EQ(desktop.messageBoxes.Shown().back().type, platform::kMbIconStop);
  EXPECT_EQ(Hklm(kRegisteredPluginsKey, u"Tunebadge"), u"Tunebadge.Nick");
  EXPECT_FALSE(form.unloaded);
  EXPECT_EQ(desktop.registry.OpenHandles(), 0U);
}

TEST_F(Setup, CancelEndsTheInstaller) {
  form.Cancel();
  EXPECT_TRUE(form.unloaded);
  EXPECT_TRUE(desktop.messageBoxes.Shown().empty());
}

}  // namespace
}  // namespace tb::setup
