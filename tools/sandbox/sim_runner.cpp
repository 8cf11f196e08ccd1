#include "tools/sandbox/sim_runner.h"

#include <map>
#include <stdexcept>

#include "platform/registry_data.h"
#include "plugin/core/settings.h"
#include "plugin/namechanger/frm_send_text.h"

namespace tb::sandbox {
namespace {

using scenario::Quote;
using scenario::ToUtf8;

// A step that cannot be run as written.
class StepError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

const std::map<std::string, std::int32_t>& StatusNames() {
  static const std::map<std::string, std::int32_t> names = {
      {"online", 2}, {"offline", 1}, {"invisible", 6}, {"away", 34}, {"busy", 10},
      {"brb", 14},   {"idle", 18},   {"phone", 50},    {"lunch", 66}};
  return names;
}

std::string Lower(const std::u16string& text) {
  std::string out = ToUtf8(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return out;
}

std::int64_t Number(const scenario::Word& word) {
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

platform::RegKey Root(const scenario::Word& word) {
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

std::string ShowValue(const std::optional<sim::RegValue>& value) {
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

}  // namespace

void SimRunner::Say(const std::string& text) {
  if (out_ != nullptr) {
    std::fprintf(out_, "%s\n", text.c_str());
  }
}

void SimRunner::Check(bool holds, const std::string& expected, const std::string& actual) {
  if (!holds) {
    failures_.push_back(Failure{line_, "expected " + expected + ", got " + actual});
    Say("    FAILED: expected " + expected + ", got " + actual);
  }
}

Nick& SimRunner::RequireNick() {
  if (!nick_) {
    throw StepError("the plug-in is not loaded yet (use load)");
  }
  return *nick_;
}

void SimRunner::Run(const std::vector<scenario::Step>& steps) {
  shownName_ = desktop_.messenger.state.friendlyName;
  for (const auto& step : steps) {
    line_ = step.line;
    try {
      RunStep(step);
    } catch (const StepError& error) {
      failures_.push_back(Failure{line_, error.what()});
      Say("    ERROR: " + std::string(error.what()));
      return;
    }
    if (desktop_.messenger.state.friendlyName != shownName_) {
      shownName_ = desktop_.messenger.state.friendlyName;
      Say("      contacts see: " + ToUtf8(shownName_));
    }
  }
  line_ = steps.empty() ? 0 : steps.back().line;
  Check(desktop_.registry.OpenHandles() == 0, "no registry key left open",
        std::to_string(desktop_.registry.OpenHandles()) + " open");
}

void SimRunner::RunStep(const scenario::Step& step) {
  const auto& words = step.words;
  const std::string verb = Lower(words[0].text);
  const auto arg = [&](std::size_t index) -> const scenario::Word& {
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
  auto& state = desktop_.messenger.state;
  auto& windows = desktop_.windows;

  if (verb == "expect") {
    Expect(step);
  } else if (verb == "load") {
    loadTried_ = true;
    if (!nick_) {
      try {
        nick_.emplace(plugin_);
      } catch (const std::exception& error) {
        // The host gets a failed creation and goes on without the plug-in.
        Say("      the host could not create the plug-in: " + std::string(error.what()));
        return;
      }
      desktop_.host.parseTag = [this](const std::u16string& tag, std::u16string& result) {
        return nick_->ParseTag(tag, nullptr, result);
      };
    }
  } else if (verb == "status") {
    const auto named = StatusNames().find(Lower(text(1)));
    state.status =
        named != StatusNames().end() ? named->second : static_cast<std::int32_t>(Number(arg(1)));
  } else if (verb == "name") {
    state.friendlyName = text(1);
    shownName_ = state.friendlyName;
  } else if (verb == "signin") {
    state.signinName = text(1);
  } else if (verb == "setting") {
    if (!arg(2).quoted && Lower(text(2)) == "delete") {
      desktop_.registry.Remove(platform::kHkeyCurrentUser, kSettingsKeyPath, text(1));
    } else {
      desktop_.registry.PutString(platform::kHkeyCurrentUser, kSettingsKeyPath, text(1), text(2));
    }
  } else if (verb == "reg") {
    const platform::RegKey root = Root(arg(1));
    const std::string kind = Lower(text(4));
    if (kind == "sz") {
      desktop_.registry.PutString(root, text(2), text(3), text(5));
    } else if (kind == "dword") {
      desktop_.registry.PutDword(root, text(2), text(3),
                                 static_cast<std::uint32_t>(Number(arg(5))));
    } else if (kind == "binary") {
      const std::string bytes = ToUtf8(text(5));
      desktop_.registry.Put(
          root, text(2), text(3),
          {platform::kRegBinary, std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
    } else if (kind == "delete") {
      desktop_.registry.Remove(root, text(2), text(3));
    } else {
      throw StepError("reg: sz, dword, binary or delete");
    }
  } else if (verb == "window") {
    const platform::Hwnd existing = windows.Newest(text(1));
    if (existing != 0) {
      windows.Get(existing)->title = text(2);
    } else {
      windows.Open(text(1), text(2));
    }
  } else if (verb == "close") {
    windows.Close(windows.Newest(text(1)));
  } else if (verb == "hang") {
    const platform::Hwnd window = windows.Newest(text(1));
    if (window == 0) {
      throw StepError("hang: no window of class " + ToUtf8(text(1)));
    }
    windows.Get(window)->hung = words.size() < 3 || Lower(text(2)) != "off";
  } else if (verb == "fileinfo") {
    if (!arg(1).quoted && Lower(text(1)) == "none") {
      desktop_.players.IgnoreFileInfoCommand(true);
    } else {
      desktop_.players.IgnoreFileInfoCommand(false);
      desktop_.players.SetFileInfo(sim::FileInfo{text(1), text(2), text(3)});
    }
  } else if (verb == "focus") {
    if (!arg(1).quoted && Lower(text(1)) == "none") {
      windows.Focus(0);
    } else {
      platform::Hwnd window = windows.Newest(text(1));
      if (window == 0) {
        window = windows.Open(text(1), text(1));
      }
      windows.Focus(window);
    }
  } else if (verb == "foreground") {
    windows.LockForeground(Lower(text(1)) == "locked");
  } else if (verb == "scripthost") {
    desktop_.scriptShell.installed = Lower(text(1)) != "absent";
  } else if (verb == "messenger") {
    state.installed = Lower(text(1)) != "absent";
  } else if (verb == "fail") {
    const std::size_t nth = words.size() > 2 ? static_cast<std::size_t>(Number(arg(2))) : 1;
    desktop_.faults.FailCall(ToUtf8(text(1)), nth);
  } else if (verb == "tick") {
    const std::int64_t count = words.size() > 1 ? Number(arg(1)) : 1;
    for (std::int64_t i = 0; i < count; ++i) {
      desktop_.timer.Advance(kPollIntervalMs);
    }
  } else if (verb == "command" || verb == "tag") {
    lastSResult_ = words.size() > 2 ? text(2) : u"";
    lastResult_.reset();
    if (!nick_ && loadTried_) {
      Say("      not called: the plug-in could not be created");
      return;
    }
    Nick& nick = RequireNick();
    lastResult_ = verb == "command" ? nick.ParseCommand(text(1), u"", nullptr, lastSResult_)
                                    : nick.ParseTag(text(1), nullptr, lastSResult_);
  } else if (verb == "options" || verb == "about") {
    const std::string action = Lower(text(1));
    const auto player = [&](std::size_t index) {
      static const std::map<std::string, int> kPlayers = {
          {"winamp", 0}, {"musicmatch", 1}, {"windowsmedia", 2}};
      const auto found = kPlayers.find(Lower(text(index)));
      if (found == kPlayers.end()) {
        throw StepError("no player " + ToUtf8(text(index)) + " (Winamp, MusicMatch, WindowsMedia)");
      }
      return found->second;
    };
    static const std::map<std::string, sim::DialogAction::Kind> kActions = {
        {"select", sim::DialogAction::kSelect},   {"text", sim::DialogAction::kText},
        {"save", sim::DialogAction::kSave},       {"help", sim::DialogAction::kHelp},
        {"close", sim::DialogAction::kClose},     {"ok", sim::DialogAction::kOk},
        {"sysinfo", sim::DialogAction::kSysInfo}, {"email", sim::DialogAction::kEmail},
        {"web", sim::DialogAction::kWeb}};
    const auto kind = kActions.find(action);
    if (kind == kActions.end()) {
      throw StepError(verb + ": unknown action " + action);
    }
    sim::DialogAction queued{kind->second, 0, u""};
    if (kind->second == sim::DialogAction::kSelect || kind->second == sim::DialogAction::kText) {
      queued.player = player(2);
    }
    if (kind->second == sim::DialogAction::kText) {
      queued.text = text(3);
    }
    desktop_.dialogs.Queue(queued);
  } else if (verb == "user") {
    // An ordinary user may read HKEY_LOCAL_MACHINE but not write it.
    desktop_.registry.SetReadOnly(platform::kHkeyLocalMachine, Lower(text(1)) == "ordinary");
  } else if (verb == "file") {
    const std::string bytes = ToUtf8(text(2));
    desktop_.files.Put(text(1), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  } else if (verb == "answer") {
    const std::string answer = Lower(text(1));
    desktop_.messageBoxes.Answer(answer == "yes"  ? platform::kIdYes
                                 : answer == "no" ? platform::kIdNo
                                                  : platform::kIdOk);
  } else {
    throw StepError("unknown verb " + verb);
  }
}

void SimRunner::Expect(const scenario::Step& step) {
  const auto& words = step.words;
  const auto text = [&](std::size_t index) -> const std::u16string& {
    if (index >= words.size()) {
      throw StepError("expect: missing argument " + std::to_string(index));
    }
    return words[index].text;
  };
  const std::string what = Lower(text(1));
  auto& state = desktop_.messenger.state;

  if (what == "name") {
    Check(state.friendlyName == text(2), Quote(text(2)), Quote(state.friendlyName));
  } else if (what == "quicktext") {
    const auto message = desktop_.registry.GetString(platform::kHkeyCurrentUser,
                                                     QuickTextKey(state.signinName), u"Message");
    Check(message == text(2), Quote(text(2)), message ? Quote(*message) : "absent");
  } else if (what == "setting") {
    const auto value = desktop_.registry.Get(platform::kHkeyCurrentUser, kSettingsKeyPath, text(2));
    if (!words[3].quoted && Lower(text(3)) == "absent") {
      Check(!value, "absent", ShowValue(value));
    } else {
      Check(ShowValue(value) == "sz " + Quote(text(3)), "sz " + Quote(text(3)), ShowValue(value));
    }
  } else if (what == "reg") {
    const auto value = desktop_.registry.Get(Root(words[2]), text(3), text(4));
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
    const auto& shown = desktop_.messageBoxes.Shown();
    if (boxesChecked_ >= shown.size()) {
      Check(false, "a box " + Quote(text(2)) + " " + Quote(text(3)), "no box");
    } else {
      const auto& box = shown[boxesChecked_++];
      Check(box.caption == text(2) && box.text == text(3), Quote(text(2)) + " " + Quote(text(3)),
            Quote(box.caption) + " " + Quote(box.text));
    }
  } else if (what == "no" && Lower(text(2)) == "dialog") {
    const auto& shown = desktop_.dialogs.Shown();
    Check(dialogsChecked_ >= shown.size(), "no dialog",
          dialogsChecked_ < shown.size() ? "dialog " + Quote(shown[dialogsChecked_]) : "");
  } else if (what == "no") {
    const auto& shown = desktop_.messageBoxes.Shown();
    Check(boxesChecked_ >= shown.size(), "no message box",
          boxesChecked_ < shown.size() ? "box " + Quote(shown[boxesChecked_].text) : "");
  } else if (what == "sent") {
    const auto sent = desktop_.host.Sent().size();
    Check(std::to_string(sent) == ToUtf8(text(2)), ToUtf8(text(2)) + " sent",
          std::to_string(sent) + " sent");
  } else if (what == "dialog") {
    const auto& shown = desktop_.dialogs.Shown();
    if (dialogsChecked_ >= shown.size()) {
      Check(false, "a dialog " + Quote(text(2)), "no dialog");
    } else {
      const std::u16string& caption = shown[dialogsChecked_++];
      Check(caption == text(2), Quote(text(2)), Quote(caption));
    }
  } else if (what == "opened") {
    const auto& opened = desktop_.shell.Opened();
    const std::u16string last = opened.empty() ? u"" : opened.back().file;
    Check(!opened.empty() && last == text(2), Quote(text(2)),
          opened.empty() ? "nothing opened" : Quote(last));
  } else if (what == "started") {
    const auto& started = desktop_.processes.StartedPrograms();
    const std::u16string last = started.empty() ? u"" : started.back().commandLine;
    Check(!started.empty() && last == text(2), Quote(text(2)),
          started.empty() ? "nothing started" : Quote(last));
  } else if (what == "focus") {
    const platform::Hwnd foreground = desktop_.windows.Foreground();
    const sim::SimWindow* window = desktop_.windows.Get(foreground);
    const std::string actual = window == nullptr ? "none" : ToUtf8(window->className);
    Check(actual == ToUtf8(text(2)), ToUtf8(text(2)), actual);
  } else if (what == "window") {
    const sim::SimWindow* window = desktop_.windows.Get(desktop_.windows.Newest(text(2)));
    const std::string actual =
        window == nullptr ? "absent" : (window->visible ? "visible" : "hidden");
    Check(actual == Lower(text(3)), Lower(text(3)), actual);
  } else {
    throw StepError("expect: unknown " + what);
  }
}

}  // namespace tb::sandbox
