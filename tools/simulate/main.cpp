// tunebadge-simulate: random sessions on the simulated desktop. Each seed
// makes a session as scenario text, played through the scenario player with
// the desktop's properties checked after every step. A session that breaks
// one is shrunk to the fewest steps that still break it and printed as a
// scenario file.
//
//   tunebadge-simulate SECONDS [SEED]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/settings.h"
#include "common/text.h"
#include "plugin/dialogs/frm_about.h"
#include "plugin/namechanger/frm_send_text.h"
#include "plugin/players/mod_winamp.h"
#include "tools/sandbox/sim_runner.h"
#include "tools/scenario/scenario.h"

namespace {

using tb::scenario::Step;

constexpr std::uint64_t kFixedSeeds = 20;
constexpr int kFewestSteps = 20;
constexpr int kMostSteps = 80;
constexpr std::int32_t kOnline = 2;

// The longest one poll tick may hold the host's thread: reading both
// Winamp windows' titles (length and text), the file-information dialog
// and its three fields, then bringing the conversation window forward and
// pressing the key. A slow host adds its delay.
constexpr std::uint64_t kLongestTickMs = 2 * 2 * tb::kWindowTextTimeoutMs + tb::kFileInfoWaitMs +
                                         3 * 2 * tb::kWindowTextTimeoutMs + tb::kFocusWaitMs +
                                         tb::kKeyStrokeWaitMs + tb::kKeyStrokeSettleMs;

// The seam calls a session may make fail, as the simulated desktop names
// them.
const std::vector<std::string> kCalls = [] {
  std::istringstream names(
      "RegOpenKeyExW RegCreateKeyExW RegQueryValueExW RegSetValueExW RegDeleteValueW RegCloseKey "
      "SetTimer FindWindowW FindWindowExW SendMessageTimeoutW PostMessageW GetWindowTextW "
      "GetClassNameW GetForegroundWindow SetForegroundWindow BringWindowToTop ShowWindowAsync "
      "GetActiveWindow SendInput GetLastInputInfo GetQueueStatus MsgWaitForMultipleObjects "
      "DispatchMessageW MessageBoxW CoCreateInstance(Messenger) IMessenger::MyStatus "
      "IMessenger::MyFriendlyName IMessenger::MySigninName IMessenger::InstantMessage "
      "IMessengerWindow::HWND CreateObject(WScript.Shell) WshShell::RegWrite "
      "IWMPCore::get_playState IWMPCore::get_currentMedia IWMPMedia::get_name "
      "IWMPMedia::getItemInfo IWMPMedia::get_durationString DialogBoxIndirectParamW");
  std::vector<std::string> calls;
  for (std::string name; names >> name;) {
    calls.push_back(name);
  }
  return calls;
}();

const std::vector<const char*> kNames = {"Ann", "Ann at work", "A\\u00efn"};
const std::vector<const char*> kPlayers = {"Winamp", "MusicMatch", "WindowsMedia"};

class Generator {
 public:
  explicit Generator(std::uint64_t seed) : random_(seed) {}

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  template <typename T>
  const T& Pick(const std::vector<T>& from) {
    return from.at(static_cast<std::size_t>(Below(static_cast<int>(from.size()))));
  }
  std::string Song() { return "Band - Song " + std::to_string(Below(9)); }
  std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
  // A command in random letter case.
  std::string Command(const std::string& command) {
    std::string out = command;
    for (char& c : out) {
      if (c >= 'a' && c <= 'z' && Below(2) == 0) {
        c = static_cast<char>(c - 'a' + 'A');
      }
    }
    return "command " + Quoted(out);
  }

  // One random step, or a few that belong together; `faults` counts `fail`.
  std::vector<std::string> Steps(int& faults) {
    static const std::vector<const char*> kStatuses = {"online",    "online",  "away", "busy",
                                                       "invisible", "offline", "brb",  "99"};
    static const std::vector<const char*> kClasses = {"\"Winamp v1.x\"", "STUDIO", "mmjb:mainwnd"};
    static const std::vector<const char*> kTags = {"(!XWPTITLE)", "(!XWPARTIST)", "(!XWPALBUM)",
                                                   "(!XWP)", "(!NOTATAG)"};
    static const std::vector<const char*> kOptions = {"options select Winamp",
                                                      "options select MusicMatch",
                                                      "options select WindowsMedia",
                                                      "options text Winamp \"(!XWPTITLE)\"",
                                                      "options save",
                                                      "options close",
                                                      "options esc"};
    const int roll = Below(100);
    if (roll < 12) {
      static const std::vector<const char*> kForms = {"", " [Paused]", " [Stopped]"};
      open_.insert(kClasses[0]);
      return {"window \"Winamp v1.x\" " + Quoted(Song() + Pick(kForms))};
    }
    if (roll < 16) {
      open_.insert(kClasses[1]);
      return {"window STUDIO " + Quoted(Song())};
    }
    if (roll < 20) {
      open_.insert(kClasses[2]);
      return {"window mmjb:mainwnd " + Quoted(Below(3) == 0
                                                  ? "MUSICMATCH Jukebox"
                                                  : "\\\"Song " + std::to_string(Below(9)) +
                                                        "\\\" by Band - MUSICMATCH Jukebox")};
    }
    if (roll < 24) {
      return {"wmp play " + Quoted("Song " + std::to_string(Below(9))) +
              R"( "Band" "Album" "3:14")"};
    }
    if (roll < 27) {
      static const std::vector<const char*> kActions = {"pause", "stop", "close"};
      return {std::string("wmp ") + Pick(kActions)};
    }
    if (roll < 30) {
      const char* closed = Pick(kClasses);
      open_.erase(closed);
      return {std::string("close ") + closed};
    }
    if (roll < 33 && !open_.empty()) {
      const std::vector<std::string> open(open_.begin(), open_.end());
      return {std::string(Below(2) == 0 ? "hang " : "scroll ") + Pick(open) +
              (Below(2) == 0 ? " off" : "")};
    }
    if (roll < 35) {
      return {Below(3) == 0 ? "fileinfo none"
                            : "fileinfo " + Quoted("Song " + std::to_string(Below(9))) +
                                  R"( "Band" "Album")"};
    }
    if (roll < 39) {
      return {std::string("status ") + Pick(kStatuses)};
    }
    if (roll < 41) {
      return {"name " + Quoted(Pick(kNames))};
    }
    if (roll < 43) {
      return {Below(2) == 0 ? "messenger absent" : "messenger present"};
    }
    if (roll < 47) {
      return {std::string("answer ") + (Below(2) == 0 ? "yes" : "no"), Command("/xtbgoff")};
    }
    if (roll < 50) {
      return {Command("/xtbgon")};
    }
    if (roll < 52) {
      std::vector<std::string> steps;
      for (int i = Below(3); i >= 0; --i) {
        steps.emplace_back(Pick(kOptions));
      }
      steps.push_back(Command("/xtbgoptions"));
      return steps;
    }
    if (roll < 53) {
      return {"about ok", Command("/xtbgabout")};
    }
    if (roll < 57) {
      return {"tag " + Quoted(Pick(kTags))};
    }
    if (roll < 60) {
      static const std::vector<const char*> kFocus = {"Notepad", "IMWindowClass", "none"};
      return {std::string("focus ") + Pick(kFocus)};
    }
    if (roll < 62) {
      return {Below(2) == 0 ? "foreground locked" : "foreground free"};
    }
    if (roll < 64) {
      return {"user types"};
    }
    if (roll < 65) {
      return {Below(2) == 0 ? "scripthost absent" : "scripthost present"};
    }
    if (roll < 66) {
      return {"host slow " + std::to_string(Below(4) * 50)};
    }
    if (roll < 68) {
      return {"setting Player " + Quoted(Pick(kPlayers))};
    }
    if (roll < 78) {
      std::vector<std::string> steps;
      for (int i = Below(3); i >= 0; --i) {
        ++faults;
        steps.push_back("fail " + Quoted(Pick(kCalls)) + " " + std::to_string(1 + Below(4)));
      }
      return steps;
    }
    return {"tick " + std::to_string(1 + Below(5))};
  }

 private:
  std::mt19937_64 random_;
  // The classes of the players' windows open, as hang and scroll need one.
  std::set<std::string> open_;
};

struct Session {
  std::uint64_t seed = 0;
  std::string player;  // the one the header chooses
  std::vector<std::string> body;
};

Session Generate(std::uint64_t seed, int& faults) {
  Generator generator(seed);
  Session session{seed, generator.Pick(kPlayers), {}};
  const int count = kFewestSteps + generator.Below(kMostSteps - kFewestSteps);
  while (static_cast<int>(session.body.size()) < count) {
    for (auto& step : generator.Steps(faults)) {
      session.body.push_back(std::move(step));
    }
  }
  return session;
}

// The whole file: a first line for the comment, the header, the body and
// the settle tail, after which only the ordinary name may show.
std::string Text(const Session& session, const std::vector<std::string>& body,
                 const std::string& comment) {
  std::string text = "# seed " + std::to_string(session.seed) + comment + "\n";
  text += "requires sim\nsignin \"ann@example.com\"\nname \"Ann\"\nsetting Player \"" +
          session.player + "\"\nload\n";
  for (const auto& step : body) {
    text += step + "\n";
  }
  std::set<std::u16string> open;
  for (const auto& step : body) {
    const auto words = tb::scenario::Parse(step).front().words;
    const std::string verb = tb::scenario::ToUtf8(words[0].text);
    if (verb == "window") {
      open.insert(words[1].text);
    } else if (verb == "close") {
      open.erase(words[1].text);
    }
  }
  text +=
      "# settle\nforeground free\nstatus online\nmessenger present\nscripthost present\n"
      "host slow 0\n";
  for (const auto& window : open) {
    text += "hang " + tb::scenario::Quote(window) + " off\nscroll " + tb::scenario::Quote(window) +
            " off\n";
  }
  text += "fail none\ncommand \"/xtbgon\"\n";
  // Every player stopped, whichever the options dialog may have chosen.
  if (open.count(u"STUDIO") != 0) {
    text += "window STUDIO \"Band - Song 0 [stopped]\"\n";
  }
  if (open.count(u"mmjb:mainwnd") != 0) {
    text += "window mmjb:mainwnd \"MUSICMATCH Jukebox\"\n";
  }
  text += "window \"Winamp v1.x\" \"Band - Song 0 [Stopped]\"\nwmp stop\n";
  text += "tick 40\n";
  return text;
}

struct Broken {
  int line = 0;
  std::string step;      // as the file writes it
  std::string property;  // which one, the same for every line it breaks on
  std::string detail;
};

// Whether a song may stay in the name after settling, as the design keeps it:
// MUSICMATCH Jukebox closed while it played (its last title is all there is),
// a status outside those the name is changed in, the switch off, or no
// player chosen.
bool KeptOnPurpose(tb::sim::SimDesktop& desktop, const std::vector<Step>& steps) {
  bool musicMatchClosedPlaying = false;
  for (const auto& step : steps) {
    if (step.words.size() > 1 && step.words[1].text == u"mmjb:mainwnd") {
      const std::string verb = tb::scenario::ToUtf8(step.words[0].text);
      if (verb == "close") {
        musicMatchClosedPlaying = true;
      } else if (verb == "window") {
        musicMatchClosedPlaying = false;
      }
    }
  }
  const auto setting = [&](const char16_t* key) {
    return desktop.registry.GetString(tb::platform::kHkeyCurrentUser, tb::kSettingsKeyPath, key);
  };
  const auto player = setting(tb::kPlayer);
  return (musicMatchClosedPlaying && player == tb::kPlayerMusicMatch) ||
         desktop.messenger.state.status != kOnline || setting(tb::kOnOff) == tb::kSwitchOff ||
         (player != tb::kPlayerWinamp && player != tb::kPlayerMusicMatch &&
          player != tb::kPlayerWindowsMedia);
}

// Plays the text on a fresh desktop; the first property it breaks.
std::optional<Broken> Play(const std::string& text, std::size_t& steps) {
  const std::vector<Step> parsed = tb::scenario::Parse(text);
  steps += parsed.size();
  tb::sandbox::SimRunner runner(nullptr);
  auto& desktop = runner.Desktop();
  std::optional<Broken> broken;
  std::uint64_t slowest = 0;
  std::uint64_t about = 0;
  std::vector<std::u16string> ordinary;
  const auto breaks = [&](int line, const char* property, const std::string& detail) {
    if (!broken) {
      const auto at = std::find_if(parsed.begin(), parsed.end(),
                                   [&](const Step& step) { return step.line == line; });
      broken = Broken{line, at != parsed.end() ? at->source : "", property, detail};
    }
  };
  runner.AfterEachStep([&](const Step& step) {
    const std::string verb = tb::scenario::ToUtf8(step.words[0].text);
    if (verb == "host") {
      slowest = std::max<std::uint64_t>(slowest, std::stoull(step.source.substr(10)));
    }
    // The about box's timer runs a tick inside its own callback.
    if (verb == "command" && tb::EqualsIgnoringCase(step.words[1].text, u"/xtbgabout")) {
      about = tb::kAboutTimerMs;
    }
    if (verb == "name") {
      ordinary.push_back(step.words[1].text);
    }
    if (const auto unexpected = tb::sim::UnexpectedErrors(desktop.diagnostics)) {
      breaks(step.line, "an unexpected error", *unexpected);
    }
    if (desktop.timer.Count() > 1) {
      breaks(step.line, "more than one timer", std::to_string(desktop.timer.Count()) + " timers");
    }
    for (const auto& [handle, window] : desktop.windows.All()) {
      if (window.altZeroCount > 0 && window.className != tb::kConversationWindowClass) {
        breaks(step.line, "Alt+0 outside a conversation window",
               tb::scenario::ToUtf8(window.className) + " got Alt+0");
      }
    }
    const std::uint64_t bound = kLongestTickMs + slowest + about;
    if (desktop.timer.LongestCallbackMs() > bound) {
      breaks(step.line, "a timer callback too long",
             std::to_string(desktop.timer.LongestCallbackMs()) + " ms, bound " +
                 std::to_string(bound) + " ms");
    }
  });
  runner.Run(parsed);
  const int last = parsed.back().line;
  for (const auto& failure : runner.Failures()) {
    if (failure.message.find("left open") == std::string::npos) {
      breaks(failure.line, "a step that could not be played", failure.message);
    }
  }
  if (desktop.registry.OpenHandles() != 0) {
    breaks(last, "a registry key left open",
           std::to_string(desktop.registry.OpenHandles()) + " open");
  }
  const std::u16string name = desktop.messenger.state.friendlyName;
  if (std::find(ordinary.begin(), ordinary.end(), name) == ordinary.end() &&
      !KeptOnPurpose(desktop, parsed)) {
    breaks(last, "not the ordinary name after settling", tb::scenario::Quote(name));
  }
  return broken;
}

// Removes chunks, then single steps, as long as the same property breaks.
std::vector<std::string> Shrink(const Session& session, const std::string& property) {
  std::vector<std::string> body = session.body;
  std::size_t ignored = 0;
  for (std::size_t chunk = body.size() / 2; chunk >= 1; chunk /= 2) {
    for (std::size_t at = 0; at < body.size();) {
      std::vector<std::string> fewer = body;
      fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(at),
                  fewer.begin() + static_cast<std::ptrdiff_t>(std::min(at + chunk, body.size())));
      const auto broken = Play(Text(session, fewer, ""), ignored);
      if (broken && broken->property == property) {
        body = std::move(fewer);
      } else {
        at += chunk;
      }
    }
  }
  return body;
}

struct Totals {
  std::size_t sessions = 0;
  std::size_t steps = 0;
  int faults = 0;
  int broken = 0;
};

void RunSession(std::uint64_t seed, Totals& totals) {
  const Session session = Generate(seed, totals.faults);
  ++totals.sessions;
  const auto broken = Play(Text(session, session.body, ""), totals.steps);
  if (!broken) {
    return;
  }
  ++totals.broken;
  std::printf("seed %llu: line %d (%s): %s: %s\n", static_cast<unsigned long long>(seed),
              broken->line, broken->step.c_str(), broken->property.c_str(), broken->detail.c_str());
  const auto body = Shrink(session, broken->property);
  std::printf("%s", Text(session, body, ": " + broken->property).c_str());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: tunebadge-simulate SECONDS [SEED]\n");
    return 2;
  }
  const auto seconds = std::chrono::seconds(std::atoll(argv[1]));
  const auto start = std::chrono::steady_clock::now();
  const auto timeLeft = [&] { return std::chrono::steady_clock::now() - start < seconds; };
  Totals totals;
  if (argc == 3) {
    const std::uint64_t seed = std::strtoull(argv[2], nullptr, 10);
    RunSession(seed, totals);
  } else {
    for (std::uint64_t seed = 1; seed <= kFixedSeeds && timeLeft(); ++seed) {
      RunSession(seed, totals);
    }
    const auto now = static_cast<std::uint64_t>(
        std::chrono::system_clock::now().time_since_epoch() / std::chrono::microseconds(1));
    std::printf("seeds from %llu on, by the clock\n", static_cast<unsigned long long>(now));
    for (std::uint64_t seed = now; timeLeft(); ++seed) {
      RunSession(seed, totals);
    }
  }
  std::printf(
      "random sessions: %zu sessions, %zu steps, %d faults injected, %d properties broken\n",
      totals.sessions, totals.steps, totals.faults, totals.broken);
  return totals.broken > 0 ? 1 : 0;
}
