#include "tools/scenario/runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "common/settings.h"
#include "platform/registry.h"
#include "platform/registry_data.h"
#include "tools/sandbox/sim_runner.h"

namespace tb::scenario {
namespace {

using Lines = std::vector<std::string>;

// How a recorded call shows its arguments: text quoted, names and bytes as
// they are, flags as 1 or 0, numbers and enumerators as numbers, nothing as
// "none".
std::string Shown(const std::string& raw) { return raw; }
std::string Shown(const std::u16string& text) { return Quote(text); }
std::string Shown(bool flag) { return flag ? "1" : "0"; }
template <typename T>
requires std::is_integral_v<T> || std::is_enum_v<T> std::string Shown(T number) {
  return std::to_string(static_cast<std::int64_t>(number));
}
template <typename T>
std::string Shown(const std::optional<T>& value) {
  return value ? Shown(*value) : "none";
}

// A desktop that writes down what it is asked, a line a call ("Name
// arguments..."), so that the player's reading of each step is pinned
// whatever desktop runs it.
class RecordingWorld final : public World {
  using Text = const std::u16string&;
  using Key = platform::RegKey;

 public:
  explicit RecordingWorld(std::string name = "sim") : name_(std::move(name)) {}

  Lines calls;
  std::u16string friendlyName = u"Ann";
  std::optional<std::u16string> foreground;
  std::optional<RegistryValue> value;
  std::optional<std::size_t> openKeys = 0;
  bool installerOpen = false;
  bool loadFails = false;
  bool callsFail = false;     // ParseCommand is answered as a failed call
  std::u16string nameOnTick;  // what a tick makes the display name, when not empty

  [[nodiscard]] std::string Name() const override { return name_; }
  std::optional<std::string> Load() override {
    Record("Load");
    loaded_ = !loadFails;
    return loadFails ? std::optional<std::string>("no class") : std::nullopt;
  }
  [[nodiscard]] bool Loaded() const override { return loaded_; }
  bool ParseCommand(Text command, std::u16string& sResult) override {
    Record("ParseCommand", command, sResult);
    if (callsFail) {
      throw FailedCall("ParseCommand failed: refused");
    }
    sResult = u"answered";
    return true;
  }
  bool ParseTag(Text tag, std::u16string& sResult) override {
    Record("ParseTag", tag, sResult);
    return false;
  }
  std::size_t SentCount() override { return 2; }
  void Tick(std::int64_t count) override {
    Record("Tick", count);
    friendlyName = nameOnTick.empty() ? friendlyName : nameOnTick;
  }
  void SetStatus(std::int32_t status) override { Record("SetStatus", status); }
  void SetFriendlyName(Text name) override { friendlyName = name; }
  std::u16string FriendlyName() override { return friendlyName; }
  void SetSigninName(Text name) override { Record("SetSigninName", name); }
  std::u16string SigninName() override { return u"a@b"; }
  void SetMessengerInstalled(bool on) override { Record("SetMessengerInstalled", on); }
  void SetScriptHostInstalled(bool on) override { Record("SetScriptHostInstalled", on); }
  void SetHostDelay(std::uint32_t ms) override { Record("SetHostDelay", ms); }
  void PutValue(Key root, Text path, Text name, const RegistryValue& put) override {
    Record("PutValue", Root(root), path, name,
           std::to_string(put.type) + ":" + std::to_string(put.data.size()));
  }
  void RemoveValue(Key root, Text path, Text name) override {
    Record("RemoveValue", Root(root), path, name);
  }
  std::optional<RegistryValue> GetValue(Key root, Text path, Text name) override {
    Record("GetValue", Root(root), path, name);
    return value;
  }
  void OpenWindow(Text window, Text title) override { Record("OpenWindow", window, title); }
  void CloseWindow(Text window) override { Record("CloseWindow", window); }
  void HangWindow(Text window, bool on) override { Record("HangWindow", window, on); }
  void ScrollWindow(Text window, bool on) override { Record("ScrollWindow", window, on); }
  void SetFileInfo(const std::optional<FileInfo>& info) override {
    info ? Record("SetFileInfo", info->title, info->artist, info->album)
         : Record("SetFileInfo", std::string("none"));
  }
  void PlayMedia(const Song& s) override {
    Record("PlayMedia", s.title, s.author, s.album, s.durationString);
  }
  void MediaPlayer(MediaAction action) override { Record("MediaPlayer", action); }
  void Focus(const std::optional<std::u16string>& window) override { Record("Focus", window); }
  std::optional<std::u16string> ForegroundClass() override { return foreground; }
  WindowState NewestWindow(Text /*window*/) override { return WindowState::kHidden; }
  void LockForeground(bool locked) override { Record("LockForeground", locked); }
  void UserTypes() override { Record("UserTypes"); }
  std::optional<int> AltZeroKeys(Text window) override {
    return window == u"IMWindowClass" ? std::optional<int>(2) : std::nullopt;
  }
  void FailCall(const std::string& call, std::size_t nth) override {
    Record("FailCall", call, nth);
  }
  void Answer(int button) override { Record("Answer", button); }
  std::vector<ShownBox> ShownBoxes() override { return {{u"Cap", u"Text"}}; }
  void QueueDialogStep(const DialogStep& step) override {
    Record("QueueDialogStep", step.kind, step.player, step.text);
  }
  std::vector<std::u16string> ShownDialogs() override { return {u"Options"}; }
  std::optional<std::u16string> LastOpened() override { return u"mailto:x"; }
  std::optional<std::u16string> LastStarted() override { return std::nullopt; }
  void PutFile(Text path, const std::string& bytes) override { Record("PutFile", path, bytes); }
  void SetOrdinaryUser(bool ordinary) override { Record("SetOrdinaryUser", ordinary); }
  std::optional<std::string> GetFile(Text path) override {
    Record("GetFile", path);
    return path == u"C:\\x" ? std::optional<std::string>("MZ") : std::nullopt;
  }
  void SetEnvironmentVariable(Text name, const std::optional<std::u16string>& text) override {
    Record("SetEnvironmentVariable", name, text);
  }
  void Installer(InstallerAction action) override {
    Record("Installer", action);
    installerOpen = action != InstallerAction::kCancel && action != InstallerAction::kInstall;
  }
  bool InstallerOpen() override { return installerOpen; }
  std::optional<std::size_t> OpenRegistryKeys() override { return openKeys; }

 private:
  template <typename... Arguments>
  void Record(const char* call, const Arguments&... arguments) {
    std::string line = call;
    ((line += " " + Shown(arguments)), ...);
    calls.push_back(line);
  }
  static std::string Root(Key root) {
    return root == platform::kHkeyCurrentUser    ? "HKCU"
           : root == platform::kHkeyLocalMachine ? "HKLM"
           : root == platform::kHkeyClassesRoot  ? "HKCR"
                                                 : "?";
  }

  std::string name_;
  bool loaded_ = false;
};

Lines Messages(const Runner& runner) {
  Lines messages;
  for (const auto& failure : runner.Failures()) {
    messages.push_back(std::to_string(failure.line) + ": " + failure.message);
  }
  return messages;
}

// Plays the file on the desktop and answers its failures as Messages does.
Lines Play(RecordingWorld& world, const std::string& file) {
  Runner runner(world, nullptr);
  runner.Run(Parse(file));
  return Messages(runner);
}

TEST(ScenarioRunner, ReadsEachVerbIntoTheSameCallOnAnyDesktop) {
  RecordingWorld world;
  EXPECT_EQ(Play(world,
                 "status busy\nstatus 7\nsignin \"a@b\"\nmessenger absent\nscripthost present\n"
                 "setting Player \"Winamp\"\nsetting Player delete\nsetting Player \"delete\"\n"
                 "reg HKLM \"K\" \"V\" dword 0x10\nreg hkcr \"K\" \"V\" binary \"ab\"\n"
                 "reg HKCU \"K\" \"V\" delete\nwindow STUDIO \"T\"\nclose STUDIO\nhang STUDIO\n"
                 "hang STUDIO off\nscroll STUDIO\nscroll STUDIO off\nhost slow 1500\n"
                 "fileinfo none\nfileinfo \"none\" \"A\" \"L\"\nfocus none\nfocus \"none\"\n"
                 "focus Notepad\nforeground locked\nuser types\nexpect keys IMWindowClass 2\n"
                 "expect keys Notepad 0\nexpect keys IMWindowClass 1\nfail "
                 "\"IMessenger::MyStatus\" 3\nfail X\n"
                 "tick\ntick 4\nanswer no\nanswer ok\noptions select MusicMatch\n"
                 "options text WindowsMedia \"T\"\noptions save\noptions esc\nabout sysinfo\n"
                 "user ordinary\nfile \"C:\\\\x\" \"MZ\"\nwmp play \"T\" \"A\" \"L\" \"1:00\"\n"
                 "wmp Pause\nwmp stop\nwmp close\n"),
            (Lines{"27: expected 0 Alt+0, got no window", "28: expected 1 Alt+0, got 2 Alt+0"}));
  const std::string settings = Quote(kSettingsKeyPath);
  const Lines expected = {
      "SetStatus 10",
      "SetStatus 7",
      R"(SetSigninName "a@b")",
      "SetMessengerInstalled 0",
      "SetScriptHostInstalled 1",
      "PutValue HKCU " + settings + R"( "Player" 1:14)",
      "RemoveValue HKCU " + settings + R"( "Player")",
      "PutValue HKCU " + settings + R"( "Player" 1:14)",
      R"(PutValue HKLM "K" "V" 4:4)",
      R"(PutValue HKCR "K" "V" 3:2)",
      R"(RemoveValue HKCU "K" "V")",
      R"(OpenWindow "STUDIO" "T")",
      R"(CloseWindow "STUDIO")",
      R"(HangWindow "STUDIO" 1)",
      R"(HangWindow "STUDIO" 0)",
      R"(ScrollWindow "STUDIO" 1)",
      R"(ScrollWindow "STUDIO" 0)",
      "SetHostDelay 1500",
      "SetFileInfo none",
      R"(SetFileInfo "none" "A" "L")",
      "Focus none",
      R"(Focus "none")",
      R"(Focus "Notepad")",
      "LockForeground 1",
      "UserTypes",
      "FailCall IMessenger::MyStatus 3",
      "FailCall X 1",
      "Tick 1",
      "Tick 4",
      "Answer 7",
      "Answer 1",
      R"(QueueDialogStep 0 1 "")",
      R"(QueueDialogStep 1 2 "T")",
      R"(QueueDialogStep 2 0 "")",
      R"(QueueDialogStep 9 0 "")",
      R"(QueueDialogStep 6 0 "")",
      "SetOrdinaryUser 1",
      R"(PutFile "C:\\x" MZ)",
      R"(PlayMedia "T" "A" "L" "1:00")",
      "MediaPlayer 0",
      "MediaPlayer 1",
      "MediaPlayer 2",
  };
  EXPECT_EQ(world.calls, expected);
}

TEST(ScenarioRunner, PlaysTheInstallerFilesAndEnvironmentVerbs) {
  RecordingWorld world;
  EXPECT_EQ(Play(world,
                 "env WINDIR \"D:\\\\Win\"\nenv WINDIR delete\ninstaller open\n"
                 "expect installer open\ninstaller choose musicmatch\ninstaller choose Winamp\n"
                 "installer choose WindowsMedia\ninstaller uninstall\ninstaller install\n"
                 "expect installer closed\nexpect file \"C:\\\\x\" \"MZ\"\n"
                 "expect file \"C:\\\\y\" absent\nexpect file \"C:\\\\x\" absent\n"
                 "installer open\ninstaller cancel\n"),
            Lines{"13: expected absent, got \"MZ\""});
  const Lines expected = {
      R"(SetEnvironmentVariable "WINDIR" "D:\\Win")",
      R"(SetEnvironmentVariable "WINDIR" none)",
      "Installer 0",
      "Installer 2",
      "Installer 1",
      "Installer 3",
      "Installer 5",
      "Installer 4",
      R"(GetFile "C:\\x")",
      R"(GetFile "C:\\y")",
      R"(GetFile "C:\\x")",
      "Installer 0",
      "Installer 6",
  };
  EXPECT_EQ(world.calls, expected);

  RecordingWorld closed;
  EXPECT_EQ(Play(closed, "installer install\n"),
            Lines{"1: installer: the installer is not open (use installer open)"});
  EXPECT_TRUE(closed.calls.empty()) << "an action on a closed installer reaches nothing";

  RecordingWorld unknown;
  EXPECT_EQ(Play(unknown, "installer open\ninstaller choose Foobar\n"),
            Lines{"2: installer choose: Foobar is none of Winamp|MusicMatch|WindowsMedia"});
}

TEST(ScenarioRunner, CallsThePlugInOnlyOnceLoadedAndKeepsItsAnswers) {
  RecordingWorld world;
  EXPECT_EQ(Play(world,
                 "load\nload\ncommand \"/x\" \"in\"\nexpect result true\n"
                 "expect sresult \"answered\"\ntag \"(!T)\"\nexpect result false\n"
                 "expect sresult \"\"\n"),
            Lines{});
  const Lines expected = {"Load", R"(ParseCommand "/x" "in")", "ParseTag \"(!T)\" \"\""};
  EXPECT_EQ(world.calls, expected) << "a second load creates nothing";

  RecordingWorld notLoaded;
  EXPECT_EQ(Play(notLoaded, "tag \"(!T)\"\nexpect result true\n"),
            Lines{"1: the plug-in is not loaded yet (use load)"})
      << "a call before load ends the run";

  RecordingWorld failing;
  failing.loadFails = true;
  EXPECT_EQ(Play(failing, "load\ntag \"(!T)\"\nexpect result false\n"),
            Lines{"3: expected false, got no call yet"})
      << "after a failed load the host calls nothing, and the run goes on";
}

// A failed call can be expected by the step right after it; otherwise it
// ends the file with its reason, as does one that ends the file.
TEST(ScenarioRunner, AFailedCallIsExpectedByTheNextStepOrEndsTheFile) {
  RecordingWorld world;
  world.callsFail = true;
  EXPECT_EQ(Play(world,
                 "load\ncommand \"/x\" \"in\"\nexpect result failed\n"
                 "expect sresult \"in\"\ntick\n"),
            Lines{});
  EXPECT_EQ(world.calls.back(), "Tick 1");

  const std::pair<const char*, const char*> unexpected[] = {
      {"load\ncommand \"/x\"\nexpect sresult \"\"\ntick\n", "2: ParseCommand failed: refused"},
      {"load\ncommand \"/x\"\nexpect result true\ntick\n", "2: ParseCommand failed: refused"},
      {"load\ncommand \"/x\"\n", "2: ParseCommand failed: refused"},
  };
  for (const auto& [file, message] : unexpected) {
    RecordingWorld refusing;
    refusing.callsFail = true;
    EXPECT_EQ(Play(refusing, file), Lines{message}) << file;
    EXPECT_NE(refusing.calls.back(), "Tick 1") << "nothing after it runs: " << file;
  }

  RecordingWorld answering;
  EXPECT_EQ(Play(answering, "load\ncommand \"/x\"\nexpect result failed\n"),
            Lines{"3: expected failed, got true"});
}

TEST(ScenarioRunner, ReportsEachFailedExpectationWithItsLineAndGoesOn) {
  RecordingWorld world;
  world.foreground = u"Notepad";
  world.value = RegistryValue{platform::kRegDword, platform::DwordData(5)};
  world.openKeys = 2;
  const Lines expected = {
      R"(1: expected "Bob", got "Ann")",
      "2: expected none, got Notepad",
      "3: expected visible, got hidden",
      "4: expected 3 sent, got 2 sent",
      R"(5: expected sz "5", got dword 5)",
      "6: expected absent, got dword 5",
      R"(7: expected "/name Ann", got absent)",
      R"(8: expected "Cap" "Other", got "Cap" "Text")",
      "9: expected no registry key left open, got 2 open",
  };
  EXPECT_EQ(Play(world,
                 "expect name \"Bob\"\n"
                 "expect focus none\n"
                 "expect window X visible\n"
                 "expect sent 3\n"
                 "expect reg HKCU \"K\" \"V\" sz \"5\"\n"
                 "expect setting Player absent\n"
                 "expect quicktext \"/name Ann\"\n"
                 "expect msgbox \"Cap\" \"Other\"\n"
                 "expect no msgbox\n"),
            expected)
      << "the box checked at line 8 is not counted again at line 9";
}

TEST(ScenarioRunner, RequiresNamesTheDesktopAFileNeedsOnItsFirstLine) {
  RecordingWorld sim;
  Runner onSim(sim, nullptr);
  onSim.Run(Parse("requires sim\ntick\n"));
  EXPECT_FALSE(onSim.Skipped());
  EXPECT_TRUE(onSim.Failures().empty());
  EXPECT_EQ(sim.calls, Lines{"Tick 1"}) << "requires sim runs on the sim";

  RecordingWorld windows("windows");
  Runner onWindows(windows, nullptr);
  onWindows.Run(Parse("# a comment first\nrequires sim\nforeground locked\nexpect name \"X\"\n"));
  EXPECT_TRUE(onWindows.Skipped());
  EXPECT_TRUE(onWindows.Failures().empty());
  EXPECT_TRUE(windows.calls.empty()) << "nothing after the skip runs";
  EXPECT_EQ(ReportRun("f.tbs", onWindows), kSkippedStatus);

  RecordingWorld late;
  EXPECT_EQ(Play(late, "tick\nrequires sim\ntick\n"),
            Lines{"2: requires: must be the first step of the file"});
  RecordingWorld unknown;
  EXPECT_EQ(Play(unknown, "requires mars\n"), Lines{"1: requires: mars is none of sim|windows"});
}

TEST(ScenarioRunner, AStepADesktopCannotDoEndsTheRun) {
  RecordingWorld windows("windows");
  Runner runner(windows, nullptr);
  runner.Run(Parse("tick\nforeground locked\ntick\nfrobnicate\n"));
  EXPECT_EQ(Messages(runner), Lines{"2: foreground locked: played only on the "
                                    "simulated desktop (the file needs `requires sim`)"});
  EXPECT_EQ(windows.calls, Lines{"Tick 1"});
  EXPECT_EQ(ReportRun("f.tbs", runner), 1);

  RecordingWorld world;
  EXPECT_EQ(Play(world, "frobnicate\nreg HKXX \"K\" \"V\" delete\n"),
            Lines{"1: unknown verb frobnicate"});
  EXPECT_EQ(Play(world, "reg HKXX \"K\" \"V\" delete\n"),
            Lines{"1: reg: HKXX is none of HKCU|HKLM|HKCR"});
  EXPECT_EQ(Play(world, "tick 3x\n"), Lines{"1: not a number: 3x"});
}

// A word in a place where only certain words go is an error, not a default,
// and so are words missing or left over; nothing reaches the desktop.
TEST(ScenarioRunner, AStepOutsideItsFormEndsTheRun) {
  const std::pair<const char*, const char*> cases[] = {
      {"expect result maybe", "expect result: maybe is none of true|false|failed"},
      {"expect result \"true\"", "expect result: \"true\" is none of true|false|failed"},
      {"messenger gone", "messenger: gone is none of absent|present"},
      {"hang STUDIO on", "hang STUDIO: on is none of off"},
      {"options ok", "options: ok is none of select|text|save|close|esc|help"},
      {"host slow -1", "host slow: 0 to 10000 milliseconds"},
      {"setting Player", "setting Player: write it as setting KEY delete or setting KEY \"TEXT\""},
      {"tick 3 4", "tick 3 4: write it as tick [N]"},
      {"expect foo",
       "expect: foo is none of name|quicktext|setting|reg|result|sresult|msgbox|no|"
       "sent|dialog|opened|started|focus|window|keys|file|installer"},
  };
  for (const auto& [step, message] : cases) {
    RecordingWorld world;
    EXPECT_EQ(Play(world, std::string(step) + "\ntick\n"), Lines{std::string("1: ") + message});
    EXPECT_TRUE(world.calls.empty()) << step;
  }
}

// Every form of the language's documentation is a step of the player, and
// every step of the player is documented.
TEST(ScenarioRunner, TheDocumentationWritesEveryStepAsThePlayerReadsIt) {
  std::ifstream file(TB_SCENARIO_LANGUAGE_DOC);
  ASSERT_TRUE(file) << TB_SCENARIO_LANGUAGE_DOC;
  Lines documented;
  for (std::string line; std::getline(file, line);) {
    if (line.rfind("| `", 0) != 0) {
      continue;
    }
    // The first cell of a table row ends at the first | not written \|.
    std::size_t end = 1;
    do {
      end = line.find('|', end + 1);
    } while (end != std::string::npos && line[end - 1] == '\\');
    for (std::size_t open = line.find('`'); open < end;) {
      const std::size_t close = line.find('`', open + 1);
      std::string form = line.substr(open + 1, close - open - 1);
      for (std::size_t bar; (bar = form.find("\\|")) != std::string::npos;) {
        form.erase(bar, 1);
      }
      documented.push_back(form);
      open = line.find('`', close + 1);
    }
  }
  Lines played = Runner::Forms();
  std::sort(documented.begin(), documented.end());
  std::sort(played.begin(), played.end());
  EXPECT_EQ(documented, played);
}

TEST(ScenarioRunner, PrintsEachStepAndWhatTheContactsSee) {
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  RecordingWorld world;
  world.nameOnTick = u"Ann \u266b";
  Runner runner(world, out);
  runner.Run(Parse("say \"Hello\"\nname \"Ann\"\ntick # a comment\nexpect name \"Bob\"\ntick\n"));
  std::rewind(out);
  std::string printed;
  for (int c = std::fgetc(out); c != EOF; c = std::fgetc(out)) {
    printed.push_back(static_cast<char>(c));
  }
  std::fclose(out);
  EXPECT_EQ(printed,
            "\nHello\n  > name \"Ann\"\n  > tick\n      contacts see: Ann \xe2\x99\xab\n"
            "  > expect name \"Bob\"\n"
            "    FAILED: expected \"Bob\", got \"Ann \\u266b\"\n"
            "  > tick\n")
      << "a step that sets the name prints nothing; a change the step brings is shown once";
}

TEST(ScenarioRunner, TheSandboxSkipsAFileForAnotherDesktop) {
  sandbox::SimRunner runner(nullptr);
  runner.Run(Parse("requires windows\nexpect name \"never checked\"\n"));
  EXPECT_TRUE(runner.Player().Skipped());
  EXPECT_TRUE(runner.Failures().empty());
}

// A player that checks after each step goes on past a failed call, and
// `fail none` takes back a failure that has not come yet.
TEST(ScenarioRunner, APlayerThatChecksEachStepGoesOnPastAFailedCall) {
  sandbox::SimRunner runner(nullptr);
  std::vector<int> checked;
  runner.AfterEachStep([&](const Step& step) { checked.push_back(step.line); });
  runner.Run(
      Parse("requires sim\nload\nfail \"DialogBoxIndirectParamW\"\ncommand \"/xtbgoptions\"\n"
            "fail \"DialogBoxIndirectParamW\"\nfail none\ncommand \"/xtbgoptions\"\n"
            "expect result true\nexpect dialog \"Options\"\n"));
  EXPECT_TRUE(runner.Failures().empty());
  EXPECT_EQ(checked, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

}  // namespace
}  // namespace tb::scenario
