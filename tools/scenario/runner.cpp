#include "tools/scenario/runner.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/registry.h"
#include "platform/registry_data.h"
#include "plugin/core/settings.h"
#include "plugin/namechanger/frm_send_text.h"

namespace tb::scenario {
namespace {

const std::map<std::string, std::int32_t>& StatusNames() {
  static const std::map<std::string, std::int32_t> names = {
      {"online", 2}, {"offline", 1}, {"invisible", 6}, {"away", 34}, {"busy", 10},
      {"brb", 14},   {"idle", 18},   {"phone", 50},    {"lunch", 66}};
  return names;
}

// The desktops that `requires` may name.
constexpr const char* kDesktopNames[] = {"sim", "windows"};

// The button numbers of the message boxes' answers.
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

std::string Lower(const std::u16string& text) {
  std::string out = ToUtf8(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return out;
}

std::int64_t Number(const Word& word) {
  const std::string text = ToUtf8(word.text);
  try {
    std::size_t used = 0;
    const std::int64_t value = std::stoll(text, &used, 0);
    if (used == text.size()) {
      return value;
    }
  } catch (const std::exception&) {
  }
  throw StepError("not a number: " + text);
}

platform::RegKey Root(const Word& word) {
  const std::string root = Lower(word.text);
  if (root == "hkcu") {
    return platform::kHkeyCurrentUser;
  }
  if (root == "hklm") {
    return platform::kHkeyLocalMachine;
  }
  if (root == "hkcr") {
    return platform::kHkeyClassesRoot;
  }
  throw StepError("unknown root " + ToUtf8(word.text) + " (HKCU, HKLM or HKCR)");
}

std::string ShowValue(const std::optional<RegistryValue>& value) {
  if (!value) {
    return "absent";
  }
  if (value->type == platform::kRegDword && value->data.size() == 4) {
    return "dword " + std::to_string(platform::NumberOfDwordData(value->data.data()));
  }
  if (value->type == platform::kRegSz) {
    return "sz " + Quote(platform::TextOfStringData(value->data.data(), value->data.size()));
  }
  return "type " + std::to_string(value->type);
}

// A bare word (not a quoted string) that reads as `keyword`.
bool IsKeyword(const Word& word, const char* keyword) {
  return !word.quoted && Lower(word.text) == keyword;
}

// A file's bytes as text to show: UTF-8 where they are, each other byte as
// the character of the same number.
std::u16string FromUtf8Bytes(const std::string& bytes) {
  try {
    return FromUtf8(bytes);
  } catch (const std::exception&) {
    std::u16string text;
    for (const char byte : bytes) {
      text.push_back(static_cast<unsigned char>(byte));
    }
    return text;
  }
}

}  // namespace

void Runner::Say(const std::string& text) {
  if (out_ != nullptr) {
    std::fprintf(out_, "%s\n", text.c_str());
    std::fflush(out_);
  }
}

void Runner::Check(bool holds, const std::string& expected, const std::string& actual) {
  if (!holds) {
    failures_.push_back(Failure{line_, "expected " + expected + ", got " + actual});
    Say("    FAILED: expected " + expected + ", got " + actual);
  }
}

void Runner::Run(const std::vector<Step>& steps) {
  shownName_ = world_.FriendlyName();
  bool first = true;
  for (const auto& step : steps) {
    line_ = step.line;
    try {
      RunStep(step, first);
    } catch (const StepError& error) {
      failures_.push_back(Failure{line_, error.what()});
      Say("    ERROR: " + std::string(error.what()));
      return;
    }
    if (skipped_) {
      return;
    }
    first = false;
    if (world_.FriendlyName() != shownName_) {
      shownName_ = world_.FriendlyName();
      Say("      contacts see: " + ToUtf8(shownName_));
    }
  }
  line_ = steps.empty() ? 0 : steps.back().line;
  const auto open = world_.OpenRegistryKeys();
  if (open) {
    Check(*open == 0, "no registry key left open", std::to_string(*open) + " open");
  }
}

void Runner::RunStep(const Step& step, bool first) {
  const auto& words = step.words;
  const std::string verb = Lower(words[0].text);
  const auto arg = [&](std::size_t index) -> const Word& {
    if (index >= words.size()) {
      throw StepError(verb + ": missing argument " + std::to_string(index));
    }
    return words[index];
  };
  const auto text = [&](std::size_t index) { return arg(index).text; };

  if (verb == "say") {
    Say("");
    Say(ToUtf8(text(1)));
    return;
  }
  Say("  > " + step.source);

  if (verb == "expect") {
    Expect(step);
  } else if (verb == "requires") {
    const std::string desktop = Lower(text(1));
    if (std::find(std::begin(kDesktopNames), std::end(kDesktopNames), desktop) ==
        std::end(kDesktopNames)) {
      throw StepError("requires: sim or windows, not " + desktop);
    }
    if (!first) {
      throw StepError("requires: must be the first step of the file");
    }
    if (desktop != world_.Name()) {
      skipped_ = true;
      Say("      skipped: this file needs the " + desktop + " desktop");
    }
  } else if (verb == "load") {
    loadTried_ = true;
    if (!world_.Loaded()) {
      const auto failure = world_.Load();
      if (failure) {
        // The host gets a failed creation and goes on without the plug-in.
        Say("      the host could not create the plug-in: " + *failure);
      }
    }
  } else if (verb == "status") {
    const auto named = StatusNames().find(Lower(text(1)));
    world_.SetStatus(named != StatusNames().end() ? named->second
                                                  : static_cast<std::int32_t>(Number(arg(1))));
  } else if (verb == "name") {
    world_.SetFriendlyName(text(1));
    shownName_ = text(1);
  } else if (verb == "signin") {
    world_.SetSigninName(text(1));
  } else if (verb == "setting") {
    if (IsKeyword(arg(2), "delete")) {
      world_.RemoveValue(platform::kHkeyCurrentUser, kSettingsKeyPath, text(1));
    } else {
      world_.PutValue(platform::kHkeyCurrentUser, kSettingsKeyPath, text(1),
                      RegistryValue{platform::kRegSz, platform::StringData(text(2))});
    }
  } else if (verb == "reg") {
    const platform::RegKey root = Root(arg(1));
    const std::string kind = Lower(text(4));
    if (kind == "sz") {
      world_.PutValue(root, text(2), text(3),
                      RegistryValue{platform::kRegSz, platform::StringData(text(5))});
    } else if (kind == "dword") {
      world_.PutValue(
          root, text(2), text(3),
          RegistryValue{platform::kRegDword,
                        platform::DwordData(static_cast<std::uint32_t>(Number(arg(5))))});
    } else if (kind == "binary") {
      const std::string bytes = ToUtf8(text(5));
      world_.PutValue(root, text(2), text(3),
                      RegistryValue{platform::kRegBinary,
                                    std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
    } else if (kind == "delete") {
      world_.RemoveValue(root, text(2), text(3));
    } else {
      throw StepError("reg: sz, dword, binary or delete");
    }
  } else if (verb == "window") {
    world_.OpenWindow(text(1), text(2));
  } else if (verb == "close") {
    world_.CloseWindow(text(1));
  } else if (verb == "hang") {
    world_.HangWindow(text(1), words.size() < 3 || Lower(text(2)) != "off");
  } else if (verb == "fileinfo") {
    if (IsKeyword(arg(1), "none")) {
      world_.SetFileInfo(std::nullopt);
    } else {
      world_.SetFileInfo(FileInfo{text(1), text(2), text(3)});
    }
  } else if (verb == "focus") {
    if (IsKeyword(arg(1), "none")) {
      world_.Focus(std::nullopt);
    } else {
      world_.Focus(text(1));
    }
  } else if (verb == "foreground") {
    world_.LockForeground(Lower(text(1)) == "locked");
  } else if (verb == "scripthost") {
    world_.SetScriptHostInstalled(Lower(text(1)) != "absent");
  } else if (verb == "messenger") {
    world_.SetMessengerInstalled(Lower(text(1)) != "absent");
  } else if (verb == "fail") {
    const std::size_t nth = words.size() > 2 ? static_cast<std::size_t>(Number(arg(2))) : 1;
    world_.FailCall(ToUtf8(text(1)), nth);
  } else if (verb == "tick") {
    world_.Tick(words.size() > 1 ? Number(arg(1)) : 1);
  } else if (verb == "command" || verb == "tag") {
    lastSResult_ = words.size() > 2 ? text(2) : u"";
    lastResult_.reset();
    if (!world_.Loaded()) {
      if (loadTried_) {
        Say("      not called: the plug-in could not be created");
        return;
      }
      throw StepError("the plug-in is not loaded yet (use load)");
    }
    lastResult_ = verb == "command" ? world_.ParseCommand(text(1), lastSResult_)
                                    : world_.ParseTag(text(1), lastSResult_);
  } else if (verb == "options" || verb == "about") {
    static const std::map<std::string, DialogStep::Kind> kActions = {
        {"select", DialogStep::kSelect},   {"text", DialogStep::kText},
        {"save", DialogStep::kSave},       {"help", DialogStep::kHelp},
        {"close", DialogStep::kClose},     {"ok", DialogStep::kOk},
        {"sysinfo", DialogStep::kSysInfo}, {"email", DialogStep::kEmail},
        {"web", DialogStep::kWeb}};
    static const std::map<std::string, int> kPlayers = {
        {"winamp", 0}, {"musicmatch", 1}, {"windowsmedia", 2}};
    const auto kind = kActions.find(Lower(text(1)));
    if (kind == kActions.end()) {
      throw StepError(verb + ": unknown action " + ToUtf8(text(1)));
    }
    DialogStep queued{kind->second, 0, u""};
    if (kind->second == DialogStep::kSelect || kind->second == DialogStep::kText) {
      const auto player = kPlayers.find(Lower(text(2)));
      if (player == kPlayers.end()) {
        throw StepError("no player " + ToUtf8(text(2)) + " (Winamp, MusicMatch, WindowsMedia)");
      }
      queued.player = player->second;
    }
    if (kind->second == DialogStep::kText) {
      queued.text = text(3);
    }
    world_.QueueDialogStep(queued);
  } else if (verb == "user") {
    world_.SetOrdinaryUser(Lower(text(1)) == "ordinary");
  } else if (verb == "file") {
    world_.PutFile(text(1), ToUtf8(text(2)));
  } else if (verb == "env") {
    if (IsKeyword(arg(2), "delete")) {
      world_.SetEnvironmentVariable(text(1), std::nullopt);
    } else {
      world_.SetEnvironmentVariable(text(1), text(2));
    }
  } else if (verb == "installer") {
    Installer(step);
  } else if (verb == "answer") {
    const std::string answer = Lower(text(1));
    world_.Answer(answer == "yes" ? kIdYes : answer == "no" ? kIdNo : kIdOk);
  } else {
    throw StepError("unknown verb " + verb);
  }
}

void Runner::Installer(const Step& step) {
  const auto& words = step.words;
  const auto word = [&](std::size_t index) -> const Word& {
    if (index >= words.size()) {
      throw StepError("installer: missing argument " + std::to_string(index));
    }
    return words[index];
  };
  static const std::map<std::string, InstallerAction> kActions = {
      {"open", InstallerAction::kOpen},
      {"install", InstallerAction::kInstall},
      {"uninstall", InstallerAction::kUninstall},
      {"cancel", InstallerAction::kCancel}};
  static const std::map<std::string, InstallerAction> kChoices = {
      {"winamp", InstallerAction::kChooseWinamp},
      {"musicmatch", InstallerAction::kChooseMusicMatch},
      {"windowsmedia", InstallerAction::kChooseWindowsMedia}};
  const std::string action = Lower(word(1).text);
  if (action == "choose") {
    const auto player = kChoices.find(Lower(word(2).text));
    if (player == kChoices.end()) {
      throw StepError("no player " + ToUtf8(word(2).text) + " (Winamp, MusicMatch, WindowsMedia)");
    }
    world_.Installer(player->second);
    return;
  }
  const auto known = kActions.find(action);
  if (known == kActions.end()) {
    throw StepError("installer: open, choose, install, uninstall or cancel, not " + action);
  }
  if (known->second != InstallerAction::kOpen && !world_.InstallerOpen()) {
    throw StepError("installer: the installer is not open (use installer open)");
  }
  world_.Installer(known->second);
}

void Runner::Expect(const Step& step) {
  const auto& words = step.words;
  const auto word = [&](std::size_t index) -> const Word& {
    if (index >= words.size()) {
      throw StepError("expect: missing argument " + std::to_string(index));
    }
    return words[index];
  };
  const auto text = [&](std::size_t index) -> const std::u16string& { return word(index).text; };
  const std::string what = Lower(text(1));

  if (what == "name") {
    const std::u16string name = world_.FriendlyName();
    Check(name == text(2), Quote(text(2)), Quote(name));
  } else if (what == "quicktext") {
    const auto value =
        world_.GetValue(platform::kHkeyCurrentUser, QuickTextKey(world_.SigninName()), u"Message");
    std::optional<std::u16string> message;
    if (value && value->type == platform::kRegSz) {
      message = platform::TextOfStringData(value->data.data(), value->data.size());
    }
    Check(message == text(2), Quote(text(2)), message ? Quote(*message) : "absent");
  } else if (what == "setting") {
    const auto value = world_.GetValue(platform::kHkeyCurrentUser, kSettingsKeyPath, text(2));
    if (IsKeyword(word(3), "absent")) {
      Check(!value, "absent", ShowValue(value));
    } else {
      Check(ShowValue(value) == "sz " + Quote(text(3)), "sz " + Quote(text(3)), ShowValue(value));
    }
  } else if (what == "reg") {
    const auto value = world_.GetValue(Root(word(2)), text(3), text(4));
    const std::string kind = Lower(text(5));
    std::string expected = kind;
    if (kind == "sz") {
      expected = "sz " + Quote(text(6));
    } else if (kind == "dword") {
      expected = "dword " + ToUtf8(text(6));
    }
    Check(ShowValue(value) == expected, expected, ShowValue(value));
  } else if (what == "result") {
    const bool expected = Lower(text(2)) == "true";
    Check(lastResult_ == expected, expected ? "true" : "false",
          lastResult_ ? (*lastResult_ ? "true" : "false") : "no call yet");
  } else if (what == "sresult") {
    Check(lastSResult_ == text(2), Quote(text(2)), Quote(lastSResult_));
  } else if (what == "msgbox") {
    const auto shown = world_.ShownBoxes();
    if (boxesChecked_ >= shown.size()) {
      Check(false, "a box " + Quote(text(2)) + " " + Quote(text(3)), "no box");
    } else {
      const auto& box = shown[boxesChecked_++];
      Check(box.caption == text(2) && box.text == text(3), Quote(text(2)) + " " + Quote(text(3)),
            Quote(box.caption) + " " + Quote(box.text));
    }
  } else if (what == "no" && Lower(text(2)) == "dialog") {
    const auto shown = world_.ShownDialogs();
    Check(dialogsChecked_ >= shown.size(), "no dialog",
          dialogsChecked_ < shown.size() ? "dialog " + Quote(shown[dialogsChecked_]) : "");
  } else if (what == "dialog") {
    const auto shown = world_.ShownDialogs();
    if (dialogsChecked_ >= shown.size()) {
      Check(false, "a dialog " + Quote(text(2)), "no dialog");
    } else {
      const std::u16string& caption = shown[dialogsChecked_++];
      Check(caption == text(2), Quote(text(2)), Quote(caption));
    }
  } else if (what == "opened" || what == "started") {
    const auto last = what == "opened" ? world_.LastOpened() : world_.LastStarted();
    Check(last == text(2), Quote(text(2)), last ? Quote(*last) : "nothing " + what);
  } else if (what == "no") {
    const auto shown = world_.ShownBoxes();
    Check(boxesChecked_ >= shown.size(), "no message box",
          boxesChecked_ < shown.size() ? "box " + Quote(shown[boxesChecked_].text) : "");
  } else if (what == "sent") {
    const auto sent = world_.SentCount();
    Check(std::to_string(sent) == ToUtf8(text(2)), ToUtf8(text(2)) + " sent",
          std::to_string(sent) + " sent");
  } else if (what == "focus") {
    const auto foreground = world_.ForegroundClass();
    const std::string actual = foreground ? ToUtf8(*foreground) : "none";
    Check(actual == ToUtf8(text(2)), ToUtf8(text(2)), actual);
  } else if (what == "file") {
    const auto bytes = world_.GetFile(text(2));
    const std::string actual = bytes ? Quote(FromUtf8Bytes(*bytes)) : "absent";
    if (IsKeyword(word(3), "absent")) {
      Check(!bytes, "absent", actual);
    } else {
      Check(bytes == ToUtf8(text(3)), Quote(text(3)), actual);
    }
  } else if (what == "installer") {
    const std::string actual = world_.InstallerOpen() ? "open" : "closed";
    Check(actual == Lower(text(2)), Lower(text(2)), actual);
  } else if (what == "window") {
    const WindowState state = world_.NewestWindow(text(2));
    const std::string actual = state == WindowState::kAbsent    ? "absent"
                               : state == WindowState::kVisible ? "visible"
                                                                : "hidden";
    Check(actual == Lower(text(3)), Lower(text(3)), actual);
  } else {
    throw StepError("expect: unknown " + what);
  }
}

std::optional<std::vector<Step>> ReadScenarioFile(const char* path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "%s: cannot read\n", path);
    return std::nullopt;
  }
  std::stringstream text;
  text << file.rdbuf();
  try {
    return Parse(text.str());
  } catch (const ScenarioError& error) {
    std::fprintf(stderr, "%s:%d: %s\n", path, error.Line(), error.what());
    return std::nullopt;
  }
}

int ReportRun(const char* path, const Runner& runner) {
  for (const auto& failure : runner.Failures()) {
    std::fprintf(stderr, "%s:%d: %s\n", path, failure.line, failure.message.c_str());
  }
  if (!runner.Failures().empty()) {
    return 1;
  }
  return runner.Skipped() ? kSkippedStatus : 0;
}

}  // namespace tb::scenario
