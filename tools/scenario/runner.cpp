#include "tools/scenario/runner.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "common/settings.h"
#include "platform/registry.h"
#include "platform/registry_data.h"
#include "plugin/namechanger/frm_send_text.h"

namespace tb::scenario {
namespace {

using Words = std::vector<Word>;

const std::map<std::string, std::int32_t>& StatusNames() {
  static const std::map<std::string, std::int32_t> names = {
      {"online", 2}, {"offline", 1}, {"invisible", 6}, {"away", 34}, {"busy", 10},
      {"brb", 14},   {"idle", 18},   {"phone", 50},    {"lunch", 66}};
  return names;
}

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

// One of HKCU, HKLM and HKCR: the step's form has checked which.
platform::RegKey Root(const Word& word) {
  const std::string root = Lower(word.text);
  return root == "hkcu"   ? platform::kHkeyCurrentUser
         : root == "hklm" ? platform::kHkeyLocalMachine
                          : platform::kHkeyClassesRoot;
}

// One of Winamp, MusicMatch and WindowsMedia, in the order of the options
// dialog's buttons: the step's form has checked which.
int Player(const Word& word) {
  const std::string player = Lower(word.text);
  return player == "winamp" ? 0 : player == "musicmatch" ? 1 : 2;
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

// One word of a step's form: a keyword, given as its alternatives (bare
// words, compared without regard to case), or a placeholder that any word
// fills. Optional words come last.
struct Slot {
  std::string text;  // as the form writes it
  std::vector<std::string> keywords;
  bool optional = false;
};

// A form as the documentation writes it: words separated by blanks;
// placeholders in capitals, "QUOTED" where they are text; keywords in small
// letters or with | between alternatives; [ ] around an optional word.
std::vector<Slot> SlotsOf(const std::string& form) {
  std::vector<Slot> slots;
  std::string token;
  bool quoted = false;
  for (std::size_t i = 0; i <= form.size(); ++i) {
    const char c = i < form.size() ? form[i] : ' ';
    quoted = quoted != (c == '"');
    if (c != ' ' || quoted) {
      token.push_back(c);
      continue;
    }
    const bool optional = token.front() == '[';
    if (optional) {
      token = token.substr(1, token.size() - 2);
    }
    Slot slot{token, {}, optional};
    if (token.front() != '"' && std::any_of(token.begin(), token.end(), [](char k) {
          return k == '|' || (k >= 'a' && k <= 'z');
        })) {
      std::istringstream alternatives(Lower(FromUtf8(token)));
      for (std::string keyword; std::getline(alternatives, keyword, '|');) {
        slot.keywords.push_back(keyword);
      }
    }
    slots.push_back(std::move(slot));
    token.clear();
  }
  return slots;
}

// How many of the step's words fit the form before the first that does
// not, and whether the whole step fits it.
std::pair<std::size_t, bool> Fit(const std::vector<Slot>& slots, const Words& words) {
  for (std::size_t i = 0; i < slots.size(); ++i) {
    if (i >= words.size()) {
      return {i, slots[i].optional};
    }
    const auto& keywords = slots[i].keywords;
    if (!keywords.empty() &&
        (words[i].quoted ||
         std::find(keywords.begin(), keywords.end(), Lower(words[i].text)) == keywords.end())) {
      return {i, false};
    }
  }
  return {slots.size(), words.size() == slots.size()};
}

}  // namespace

// The longest the host may be made to hold its thread over Alt+0.
constexpr std::int64_t kLongestHostDelayMs = 10000;

// Which desktops play a step: both, or only the simulated one (a file that
// uses it there starts with `requires sim`).
enum class Desktops { kBoth, kSim };
constexpr Desktops kBoth = Desktops::kBoth;
constexpr Desktops kSim = Desktops::kSim;

struct Runner::Verb {
  Verb(const char* text, Desktops on, void (*handler)(Runner&, const Words&))
      : form(text), slots(SlotsOf(text)), desktops(on), play(handler) {}

  std::string form;
  std::vector<Slot> slots;
  Desktops desktops;
  void (*play)(Runner&, const Words&);
};

const std::vector<Runner::Verb>& Runner::Verbs() {
  static const std::vector<Verb> verbs = [] {
    std::vector<Verb> all;
    for (const auto area : {&WorldVerbs, &HostVerbs, &PlayerVerbs, &DialogVerbs, &InstallerVerbs,
                            &HostExpectations, &DesktopExpectations}) {
      const std::vector<Verb> some = area();
      all.insert(all.end(), some.begin(), some.end());
    }
    return all;
  }();
  return verbs;
}

std::vector<Runner::Verb> Runner::WorldVerbs() {
  const auto putReg = [](Runner& r, const Words& w) {
    const std::string kind = Lower(w[4].text);
    const std::string bytes = ToUtf8(w[5].text);
    r.world_.PutValue(
        Root(w[1]), w[2].text, w[3].text,
        kind == "sz" ? RegistryValue{platform::kRegSz, platform::StringData(w[5].text)}
        : kind == "dword"
            ? RegistryValue{platform::kRegDword,
                            platform::DwordData(static_cast<std::uint32_t>(Number(w[5])))}
            : RegistryValue{platform::kRegBinary,
                            std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
  };
  return {
      {"requires sim|windows", kBoth,
       [](Runner& r, const Words& w) {
         if (!r.first_) {
           throw StepError("requires: must be the first step of the file");
         }
         const std::string desktop = Lower(w[1].text);
         if (desktop != r.world_.Name()) {
           r.skipped_ = true;
           r.Say("      skipped: this file needs the " + desktop + " desktop");
         }
       }},
      {R"(say "TEXT")", kBoth,
       [](Runner& r, const Words& w) {
         r.Say("");
         r.Say(ToUtf8(w[1].text));
       }},
      {"setting KEY delete", kBoth,
       [](Runner& r, const Words& w) {
         r.world_.RemoveValue(platform::kHkeyCurrentUser, kSettingsKeyPath, w[1].text);
       }},
      {R"(setting KEY "TEXT")", kBoth,
       [](Runner& r, const Words& w) {
         r.world_.PutValue(platform::kHkeyCurrentUser, kSettingsKeyPath, w[1].text,
                           RegistryValue{platform::kRegSz, platform::StringData(w[2].text)});
       }},
      {R"(reg HKCU|HKLM|HKCR "KEY PATH" "VALUE" sz "TEXT")", kBoth, putReg},
      {R"(reg HKCU|HKLM|HKCR "KEY PATH" "VALUE" dword N)", kBoth, putReg},
      {R"(reg HKCU|HKLM|HKCR "KEY PATH" "VALUE" binary "BYTES")", kBoth, putReg},
      {R"(reg HKCU|HKLM|HKCR "KEY PATH" "VALUE" delete)", kBoth,
       [](Runner& r, const Words& w) { r.world_.RemoveValue(Root(w[1]), w[2].text, w[3].text); }},
      {"user ordinary|admin", kSim,
       [](Runner& r, const Words& w) { r.world_.SetOrdinaryUser(IsKeyword(w[1], "ordinary")); }},
      {R"(file "PATH" "BYTES")", kSim,
       [](Runner& r, const Words& w) { r.world_.PutFile(w[1].text, ToUtf8(w[2].text)); }},
      {"env NAME delete", kSim,
       [](Runner& r, const Words& w) { r.world_.SetEnvironmentVariable(w[1].text, std::nullopt); }},
      {R"(env NAME "VALUE")", kSim,
       [](Runner& r, const Words& w) { r.world_.SetEnvironmentVariable(w[1].text, w[2].text); }},
  };
}

std::vector<Runner::Verb> Runner::HostVerbs() {
  const auto call = [](Runner& r, const Words& w) {
    r.lastSResult_ = w.size() > 2 ? w[2].text : u"";
    r.lastResult_.reset();
    if (!r.world_.Loaded()) {
      if (r.loadTried_) {
        r.Say("      not called: the plug-in could not be created");
        return;
      }
      throw StepError("the plug-in is not loaded yet (use load)");
    }
    try {
      const bool answered = Lower(w[0].text) == "command"
                                ? r.world_.ParseCommand(w[1].text, r.lastSResult_)
                                : r.world_.ParseTag(w[1].text, r.lastSResult_);
      r.lastResult_ = answered ? "true" : "false";
    } catch (const FailedCall& failed) {
      r.lastResult_ = "failed";
      r.failedCall_ = Failure{r.line_, failed.what()};
      r.Say("      a failed call: " + std::string(failed.what()));
    }
  };
  return {
      {"load", kBoth,
       [](Runner& r, const Words& /*w*/) {
         r.loadTried_ = true;
         if (!r.world_.Loaded()) {
           const auto failure = r.world_.Load();
           if (failure) {
             // The host gets a failed creation and goes on without the plug-in.
             r.Say("      the host could not create the plug-in: " + *failure);
           }
         }
       }},
      {"status N", kBoth,
       [](Runner& r, const Words& w) {
         const auto named = StatusNames().find(Lower(w[1].text));
         r.world_.SetStatus(named != StatusNames().end() ? named->second
                                                         : static_cast<std::int32_t>(Number(w[1])));
       }},
      {R"(name "TEXT")", kBoth,
       [](Runner& r, const Words& w) {
         r.world_.SetFriendlyName(w[1].text);
         r.shownName_ = w[1].text;
       }},
      {R"(signin "TEXT")", kBoth,
       [](Runner& r, const Words& w) { r.world_.SetSigninName(w[1].text); }},
      {"messenger absent|present", kBoth,
       [](Runner& r, const Words& w) {
         r.world_.SetMessengerInstalled(IsKeyword(w[1], "present"));
       }},
      {"host slow N", kBoth,
       [](Runner& r, const Words& w) {
         const std::int64_t ms = Number(w[2]);
         if (ms < 0 || ms > kLongestHostDelayMs) {
           throw StepError("host slow: 0 to " + std::to_string(kLongestHostDelayMs) +
                           " milliseconds");
         }
         r.world_.SetHostDelay(static_cast<std::uint32_t>(ms));
       }},
      {"scripthost absent|present", kBoth,
       [](Runner& r, const Words& w) {
         r.world_.SetScriptHostInstalled(IsKeyword(w[1], "present"));
       }},
      {"fail none", kSim, [](Runner& r, const Words& /*w*/) { r.world_.ClearFaults(); }},
      {"fail CALL [N]", kBoth,
       [](Runner& r, const Words& w) {
         r.world_.FailCall(ToUtf8(w[1].text),
                           w.size() > 2 ? static_cast<std::size_t>(Number(w[2])) : 1);
       }},
      {"tick [N]", kBoth,
       [](Runner& r, const Words& w) { r.world_.Tick(w.size() > 1 ? Number(w[1]) : 1); }},
      {R"(command "TEXT" ["SRESULT"])", kBoth, call},
      {R"(tag "TEXT" ["SRESULT"])", kBoth, call},
  };
}

std::vector<Runner::Verb> Runner::PlayerVerbs() {
  return {
      {R"(window CLASS "TITLE")", kBoth,
       [](Runner& r, const Words& w) { r.world_.OpenWindow(w[1].text, w[2].text); }},
      {"close CLASS", kBoth, [](Runner& r, const Words& w) { r.world_.CloseWindow(w[1].text); }},
      {"hang CLASS [off]", kBoth,
       [](Runner& r, const Words& w) { r.world_.HangWindow(w[1].text, w.size() < 3); }},
      {"scroll CLASS [off]", kBoth,
       [](Runner& r, const Words& w) { r.world_.ScrollWindow(w[1].text, w.size() < 3); }},
      {"fileinfo none", kBoth,
       [](Runner& r, const Words& /*w*/) { r.world_.SetFileInfo(std::nullopt); }},
      {R"(fileinfo "TITLE" "ARTIST" "ALBUM")", kBoth,
       [](Runner& r, const Words& w) {
         r.world_.SetFileInfo(FileInfo{w[1].text, w[2].text, w[3].text});
       }},
      {R"(wmp play "TITLE" "AUTHOR" "ALBUM" "DURATION")", kBoth,
       [](Runner& r, const Words& w) {
         r.world_.PlayMedia(Song{w[2].text, w[3].text, w[4].text, w[5].text});
       }},
      {"wmp pause|stop|close", kBoth,
       [](Runner& r, const Words& w) {
         const std::string action = Lower(w[1].text);
         r.world_.MediaPlayer(action == "pause"  ? MediaAction::kPause
                              : action == "stop" ? MediaAction::kStop
                                                 : MediaAction::kClose);
       }},
      {"focus none", kBoth, [](Runner& r, const Words& /*w*/) { r.world_.Focus(std::nullopt); }},
      {"focus CLASS", kBoth, [](Runner& r, const Words& w) { r.world_.Focus(w[1].text); }},
      {"foreground free", kBoth,
       [](Runner& r, const Words& /*w*/) { r.world_.LockForeground(false); }},
      {"foreground locked", kSim,
       [](Runner& r, const Words& /*w*/) { r.world_.LockForeground(true); }},
      {"user types", kBoth, [](Runner& r, const Words& /*w*/) { r.world_.UserTypes(); }},
  };
}

std::vector<Runner::Verb> Runner::DialogVerbs() {
  const auto dialog = [](Runner& r, const Words& w) {
    static const std::map<std::string, DialogStep::Kind> kKinds = {
        {"select", DialogStep::kSelect}, {"text", DialogStep::kText},
        {"save", DialogStep::kSave},     {"help", DialogStep::kHelp},
        {"close", DialogStep::kClose},   {"esc", DialogStep::kEscape},
        {"ok", DialogStep::kOk},         {"sysinfo", DialogStep::kSysInfo},
        {"email", DialogStep::kEmail},   {"web", DialogStep::kWeb}};
    r.world_.QueueDialogStep(DialogStep{kKinds.at(Lower(w[1].text)),
                                        w.size() > 2 ? Player(w[2]) : 0,
                                        w.size() > 3 ? w[3].text : u""});
  };
  return {
      {"answer yes|no|ok", kBoth,
       [](Runner& r, const Words& w) {
         const std::string answer = Lower(w[1].text);
         r.world_.Answer(answer == "yes" ? kIdYes : answer == "no" ? kIdNo : kIdOk);
       }},
      {"options select Winamp|MusicMatch|WindowsMedia", kBoth, dialog},
      {R"(options text Winamp|MusicMatch|WindowsMedia "TEXT")", kBoth, dialog},
      {"options save|close|esc|help", kBoth, dialog},
      {"about ok|close|sysinfo", kBoth, dialog},
      {"about email|web", kSim, dialog},
  };
}

std::vector<Runner::Verb> Runner::InstallerVerbs() {
  return {
      {"installer open", kSim,
       [](Runner& r, const Words& /*w*/) { r.world_.Installer(InstallerAction::kOpen); }},
      {"installer choose Winamp|MusicMatch|WindowsMedia", kSim,
       [](Runner& r, const Words& w) {
         constexpr InstallerAction kChoices[] = {InstallerAction::kChooseWinamp,
                                                 InstallerAction::kChooseMusicMatch,
                                                 InstallerAction::kChooseWindowsMedia};
         r.world_.Installer(kChoices[Player(w[2])]);
       }},
      {"installer install|uninstall|cancel", kSim,
       [](Runner& r, const Words& w) {
         if (!r.world_.InstallerOpen()) {
           throw StepError("installer: the installer is not open (use installer open)");
         }
         const std::string action = Lower(w[1].text);
         r.world_.Installer(action == "install"     ? InstallerAction::kInstall
                            : action == "uninstall" ? InstallerAction::kUninstall
                                                    : InstallerAction::kCancel);
       }},
  };
}

std::vector<Runner::Verb> Runner::HostExpectations() {
  const auto expectSetting = [](Runner& r, const Words& w) {
    const auto value = r.world_.GetValue(platform::kHkeyCurrentUser, kSettingsKeyPath, w[2].text);
    const std::string expected = IsKeyword(w[3], "absent") ? "absent" : "sz " + Quote(w[3].text);
    r.Check(ShowValue(value) == expected, expected, ShowValue(value));
  };
  const auto expectReg = [](Runner& r, const Words& w) {
    const auto value = r.world_.GetValue(Root(w[2]), w[3].text, w[4].text);
    const std::string kind = Lower(w[5].text);
    const std::string expected = kind == "sz"      ? "sz " + Quote(w[6].text)
                                 : kind == "dword" ? "dword " + ToUtf8(w[6].text)
                                                   : kind;
    r.Check(ShowValue(value) == expected, expected, ShowValue(value));
  };
  return {
      {R"(expect name "TEXT")", kBoth,
       [](Runner& r, const Words& w) {
         const std::u16string name = r.world_.FriendlyName();
         r.Check(name == w[2].text, Quote(w[2].text), Quote(name));
       }},
      {R"(expect quicktext "TEXT")", kBoth,
       [](Runner& r, const Words& w) {
         const auto value = r.world_.GetValue(platform::kHkeyCurrentUser,
                                              QuickTextKey(r.world_.SigninName()), u"Message");
         std::optional<std::u16string> message;
         if (value && value->type == platform::kRegSz) {
           message = platform::TextOfStringData(value->data.data(), value->data.size());
         }
         r.Check(message == w[2].text, Quote(w[2].text), message ? Quote(*message) : "absent");
       }},
      {"expect setting KEY absent", kBoth, expectSetting},
      {R"(expect setting KEY "TEXT")", kBoth, expectSetting},
      {R"(expect reg HKCU|HKLM|HKCR "KEY PATH" "VALUE" sz "TEXT")", kBoth, expectReg},
      {R"(expect reg HKCU|HKLM|HKCR "KEY PATH" "VALUE" dword N)", kBoth, expectReg},
      {R"(expect reg HKCU|HKLM|HKCR "KEY PATH" "VALUE" absent)", kBoth, expectReg},
      {"expect result true|false|failed", kBoth,
       [](Runner& r, const Words& w) {
         const std::string expected = Lower(w[2].text);
         const std::string actual = r.lastResult_.value_or("no call yet");
         r.Check(actual == expected, expected, actual);
       }},
      {R"(expect sresult "TEXT")", kBoth,
       [](Runner& r, const Words& w) {
         r.Check(r.lastSResult_ == w[2].text, Quote(w[2].text), Quote(r.lastSResult_));
       }},
      {R"(expect msgbox "CAPTION" "TEXT")", kBoth,
       [](Runner& r, const Words& w) {
         const auto shown = r.world_.ShownBoxes();
         if (r.boxesChecked_ >= shown.size()) {
           r.Check(false, "a box " + Quote(w[2].text) + " " + Quote(w[3].text), "no box");
           return;
         }
         const auto& box = shown[r.boxesChecked_++];
         r.Check(box.caption == w[2].text && box.text == w[3].text,
                 Quote(w[2].text) + " " + Quote(w[3].text),
                 Quote(box.caption) + " " + Quote(box.text));
       }},
      {"expect no msgbox", kBoth,
       [](Runner& r, const Words& /*w*/) {
         const auto shown = r.world_.ShownBoxes();
         r.Check(r.boxesChecked_ >= shown.size(), "no message box",
                 r.boxesChecked_ < shown.size() ? "box " + Quote(shown[r.boxesChecked_].text) : "");
       }},
      {"expect sent N", kBoth,
       [](Runner& r, const Words& w) {
         const auto sent = r.world_.SentCount();
         r.Check(std::to_string(sent) == ToUtf8(w[2].text), ToUtf8(w[2].text) + " sent",
                 std::to_string(sent) + " sent");
       }},
  };
}

std::vector<Runner::Verb> Runner::DesktopExpectations() {
  const auto expectDialog = [](Runner& r, const Words& w) {
    const auto shown = r.world_.ShownDialogs();
    const auto next =
        r.dialogsChecked_ < shown.size() ? std::optional(shown[r.dialogsChecked_]) : std::nullopt;
    if (IsKeyword(w[1], "no")) {
      r.Check(!next, "no dialog", next ? "dialog " + Quote(*next) : "");
      return;
    }
    r.dialogsChecked_ += next ? 1 : 0;
    r.Check(next == w[2].text, next ? Quote(w[2].text) : "a dialog " + Quote(w[2].text),
            next ? Quote(*next) : "no dialog");
  };
  const auto expectFocus = [](Runner& r, const Words& w) {
    const auto foreground = r.world_.ForegroundClass();
    const std::string actual = foreground ? ToUtf8(*foreground) : "none";
    r.Check(actual == ToUtf8(w[2].text), ToUtf8(w[2].text), actual);
  };
  const auto expectFile = [](Runner& r, const Words& w) {
    const auto bytes = r.world_.GetFile(w[2].text);
    const std::string actual = bytes ? Quote(FromUtf8Bytes(*bytes)) : "absent";
    if (IsKeyword(w[3], "absent")) {
      r.Check(!bytes, "absent", actual);
    } else {
      r.Check(bytes == ToUtf8(w[3].text), Quote(w[3].text), actual);
    }
  };
  return {
      {R"(expect dialog "CAPTION")", kBoth, expectDialog},
      {"expect no dialog", kBoth, expectDialog},
      {R"(expect opened "TARGET")", kSim,
       [](Runner& r, const Words& w) {
         const auto last = r.world_.LastOpened();
         r.Check(last == w[2].text, Quote(w[2].text), last ? Quote(*last) : "nothing opened");
       }},
      {R"(expect started "COMMAND LINE")", kSim,
       [](Runner& r, const Words& w) {
         const auto last = r.world_.LastStarted();
         r.Check(last == w[2].text, Quote(w[2].text), last ? Quote(*last) : "nothing started");
       }},
      {"expect focus none", kBoth, expectFocus},
      {"expect focus CLASS", kBoth, expectFocus},
      {"expect window CLASS visible|hidden|absent", kBoth,
       [](Runner& r, const Words& w) {
         const WindowState state = r.world_.NewestWindow(w[2].text);
         const std::string actual = state == WindowState::kAbsent    ? "absent"
                                    : state == WindowState::kVisible ? "visible"
                                                                     : "hidden";
         r.Check(actual == Lower(w[3].text), Lower(w[3].text), actual);
       }},
      {"expect keys CLASS N", kBoth,
       [](Runner& r, const Words& w) {
         const auto keys = r.world_.AltZeroKeys(w[2].text);
         r.Check(keys && std::to_string(*keys) == ToUtf8(w[3].text), ToUtf8(w[3].text) + " Alt+0",
                 keys ? std::to_string(*keys) + " Alt+0" : "no window");
       }},
      {R"(expect file "PATH" absent)", kSim, expectFile},
      {R"(expect file "PATH" "BYTES")", kSim, expectFile},
      {"expect installer open|closed", kSim,
       [](Runner& r, const Words& w) {
         const std::string actual = r.world_.InstallerOpen() ? "open" : "closed";
         r.Check(actual == Lower(w[2].text), Lower(w[2].text), actual);
       }},
  };
}

std::vector<std::string> Runner::Forms() {
  std::vector<std::string> forms;
  for (const Verb& verb : Verbs()) {
    forms.push_back(verb.form);
  }
  return forms;
}

bool Runner::ExpectsFailedCall(const Step& step) {
  return step.words.size() == 3 && IsKeyword(step.words[0], "expect") &&
         IsKeyword(step.words[1], "result") && IsKeyword(step.words[2], "failed");
}

void Runner::EndWithFailedCall() {
  failures_.push_back(*failedCall_);
  Say("    ERROR: " + failedCall_->message);
  failedCall_.reset();
}

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
  first_ = true;
  for (const auto& step : steps) {
    line_ = step.line;
    if (failedCall_) {
      if (!ExpectsFailedCall(step)) {
        EndWithFailedCall();
        return;
      }
      failedCall_.reset();
    }
    try {
      RunStep(step);
    } catch (const StepError& error) {
      failures_.push_back(Failure{line_, error.what()});
      Say("    ERROR: " + std::string(error.what()));
      return;
    }
    if (skipped_) {
      return;
    }
    first_ = false;
    if (world_.FriendlyName() != shownName_) {
      shownName_ = world_.FriendlyName();
      Say("      contacts see: " + ToUtf8(shownName_));
    }
    if (afterEachStep_) {
      afterEachStep_(step);
      failedCall_.reset();
    }
  }
  if (failedCall_) {
    EndWithFailedCall();
    return;
  }
  line_ = steps.empty() ? 0 : steps.back().line;
  const auto open = world_.OpenRegistryKeys();
  if (open) {
    Check(*open == 0, "no registry key left open", std::to_string(*open) + " open");
  }
}

void Runner::RunStep(const Step& step) {
  if (!IsKeyword(step.words[0], "say")) {
    Say("  > " + step.source);
  }
  // The forms that fit the most words, for the error.
  std::size_t nearest = 0;
  std::vector<const Verb*> near;
  for (const Verb& verb : Verbs()) {
    const auto [fit, whole] = Fit(verb.slots, step.words);
    if (whole) {
      if (verb.desktops == Desktops::kSim && world_.Name() != "sim") {
        throw StepError(verb.form +
                        ": played only on the simulated desktop (the file needs `requires sim`)");
      }
      verb.play(*this, step.words);
      return;
    }
    if (fit > nearest) {
      nearest = fit;
      near.clear();
    }
    if (fit == nearest && fit > 0) {
      near.push_back(&verb);
    }
  }
  if (near.empty()) {
    throw StepError("unknown verb " + Lower(step.words[0].text));
  }
  const auto shown = [&](std::size_t i) {
    return step.words[i].quoted ? Quote(step.words[i].text) : ToUtf8(step.words[i].text);
  };
  // Appends `text` to a list that `separator` divides.
  const auto append = [](std::string& list, const char* separator, const std::string& text) {
    list.append(list.empty() ? "" : separator).append(text);
  };
  std::string words;
  std::string keywords;
  std::string forms;
  for (std::size_t i = 0; i < nearest; ++i) {
    append(words, " ", shown(i));
  }
  for (const Verb* verb : near) {
    append(forms, " or ", verb->form);
    const Slot* slot = nearest < verb->slots.size() ? &verb->slots[nearest] : nullptr;
    if (slot != nullptr && !slot->keywords.empty() &&
        keywords.find(slot->text) == std::string::npos) {
      append(keywords, "|", slot->text);
    }
  }
  // A word in a place where only certain words go, or words missing or
  // left over.
  if (nearest < step.words.size() && !keywords.empty()) {
    throw StepError(words + ": " + shown(nearest) + " is none of " + keywords);
  }
  throw StepError(step.source + ": write it as " + forms);
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
