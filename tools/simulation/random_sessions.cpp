#include <algorithm>
#include <cstdio>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/current_metadata.h"
#include "common/settings.h"
#include "common/text.h"
#include "tools/sandbox/sim_runner.h"
#include "tools/scenario/scenario.h"
#include "tools/simulation/properties.h"
#include "tools/simulation/simulation.h"

namespace tb::simulation {
namespace {

using scenario::Step;

constexpr std::uint64_t kFixedSeeds = 64;
// Sessions handed to the child processes at a time, between looks at the
// clock.
constexpr std::size_t kRound = 256;
constexpr int kFewestSteps = 20;
constexpr int kMostSteps = 80;
constexpr std::int32_t kOnline = 2;

// The steps of a session: how many in a hundred, how many times at most in
// a row, and the step, in which "{A|B|C}" is one of A, B and C, "{#}" a
// digit, "{call}" a seam call as the simulated desktop names it and "{open}"
// the class of a player's window that is open (none open: no step). A
// command's text comes in random letter case.
struct StepKind {
  int weight;
  int most;
  const char* text;
};
const std::vector<StepKind> kSteps = {
    {12, 1, R"(window "Winamp v1.x" "Band - Song {#}{| [Paused]| [Stopped]}")"},
    {4, 1, R"(window STUDIO "Band - Song {#}")"},
    {4, 1,
     R"(window mmjb:mainwnd "{MUSICMATCH Jukebox|\"Song {#}\" by Band - MUSICMATCH Jukebox}")"},
    {4, 1, R"(wmp play "Song {#}" "Band" "Album" "3:14")"},
    {3, 1, "wmp {pause|stop|close}"},
    {3, 1, R"(close {"Winamp v1.x"|STUDIO|mmjb:mainwnd})"},
    {3, 1, "{hang|scroll} {open}{| off}"},
    {2, 1, R"(fileinfo {none|"Song {#}" "Band" "Album"})"},
    {4, 1, "status {online|online|away|busy|invisible|offline|brb|99}"},
    {2, 1, R"(name {"Ann"|"Ann at work"|"A\u00efn"})"},
    {2, 1, "messenger {absent|present}"},
    {4, 1, "answer {yes|no}\ncommand \"/xtbgoff\""},
    {3, 1, "command \"/xtbgon\""},
    {2, 3,
     "options {select Winamp|select MusicMatch|select WindowsMedia|text Winamp "
     "\"(!XWPTITLE)\"|save|save|close|esc}\ncommand \"/xtbgoptions\""},
    {1, 1, "about ok\ncommand \"/xtbgabout\""},
    {4, 1, R"(tag "{(!XWPTITLE)|(!XWPARTIST)|(!XWPALBUM)|(!XWP)|(!NOTATAG)}")"},
    {3, 1, "focus {Notepad|IMWindowClass|none}"},
    {2, 1, "foreground {locked|free}"},
    {2, 1, "user types"},
    {1, 1, "scripthost {absent|present}"},
    {1, 1, "host slow {0|50|100|150}"},
    {2, 1, R"(setting Player "{Winamp|MusicMatch|WindowsMedia}")"},
    {10, 3, "fail \"{call}\" {1|2|3|4}"},
    {22, 1, "tick {1|2|3|4|5}"},
};
constexpr const char* kCalls =
    "RegOpenKeyExW|RegCreateKeyExW|RegQueryValueExW|RegSetValueExW|RegDeleteValueW|RegCloseKey|"
    "SetTimer|FindWindowW|FindWindowExW|SendMessageTimeoutW|PostMessageW|GetWindowTextW|"
    "GetClassNameW|GetForegroundWindow|SetForegroundWindow|BringWindowToTop|ShowWindowAsync|"
    "GetActiveWindow|SendInput|GetLastInputInfo|GetQueueStatus|MsgWaitForMultipleObjects|"
    "DispatchMessageW|MessageBoxW|CoCreateInstance(Messenger)|IMessenger::MyStatus|"
    "IMessenger::MyFriendlyName|IMessenger::MySigninName|IMessenger::InstantMessage|"
    "IMessengerWindow::HWND|CreateObject(WScript.Shell)|WshShell::RegWrite|"
    "IWMPCore::get_playState|IWMPCore::get_currentMedia|IWMPMedia::get_name|"
    "IWMPMedia::getItemInfo|IWMPMedia::get_durationString|DialogBoxIndirectParamW";

class Generator {
 public:
  explicit Generator(std::uint64_t seed) : random_(seed) {}

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  // The next step, or the few that belong together.
  std::vector<std::string> Steps() {
    int roll = Below(100);
    auto kind = kSteps.begin();
    while ((roll -= kind->weight) >= 0 && kind + 1 != kSteps.end()) {
      ++kind;
    }
    std::vector<std::string> steps;
    for (int n = 1 + Below(kind->most); n > 0; --n) {
      std::istringstream lines(kind->text);
      for (std::string line; std::getline(lines, line);) {
        if (auto step = Expand(line)) {
          Note(*step);
          steps.push_back(std::move(*step));
        }
      }
    }
    return steps;
  }

 private:
  template <typename T>
  const T& Pick(const std::vector<T>& from) {
    return from.at(static_cast<std::size_t>(Below(static_cast<int>(from.size()))));
  }

  // One of the alternatives of each "{...}", from the innermost out;
  // nothing for "{open}" with no window open.
  std::optional<std::string> Expand(std::string text) {
    for (std::size_t close = 0; (close = text.find('}')) != std::string::npos;) {
      const std::size_t open = text.rfind('{', close);
      std::string inner = text.substr(open + 1, close - open - 1);
      std::vector<std::string> choices(open_.begin(), open_.end());
      if (inner != "open") {
        inner = inner == "#" ? "0|1|2|3|4|5|6|7|8" : inner == "call" ? kCalls : inner;
        choices.clear();
        std::istringstream parts(inner + "|");
        for (std::string part; std::getline(parts, part, '|');) {
          choices.push_back(part);
        }
      }
      if (choices.empty()) {
        return std::nullopt;
      }
      text.replace(open, close - open + 1, Pick(choices));
    }
    return text;
  }

  // Keeps the open windows, and gives a command random letter case.
  void Note(std::string& step) {
    const auto words = scenario::Parse(step).front().words;
    const std::string verb = scenario::ToUtf8(words[0].text);
    const std::string quoted = words.size() > 1 ? scenario::Quote(words[1].text) : "";
    if (verb == "window") {
      open_.insert(quoted);
    } else if (verb == "close") {
      open_.erase(quoted);
    } else if (verb == "command") {
      for (std::size_t at = verb.size(); at < step.size(); ++at) {
        if (step[at] >= 'a' && step[at] <= 'z' && Below(2) == 0) {
          step[at] = static_cast<char>(step[at] - 'a' + 'A');
        }
      }
    }
  }

  std::mt19937_64 random_;
  // The classes of the players' windows open, quoted, as hang and scroll
  // need one.
  std::set<std::string> open_;
};

struct Session {
  std::uint64_t seed = 0;
  std::string player;  // the one the header chooses
  std::vector<std::string> body;
};

Session Generate(std::uint64_t seed, std::size_t& faults) {
  static const std::vector<const char*> kPlayers = {"Winamp", "MusicMatch", "WindowsMedia"};
  Generator generator(seed);
  Session session{seed, kPlayers.at(static_cast<std::size_t>(generator.Below(3))), {}};
  const int count = kFewestSteps + generator.Below(kMostSteps - kFewestSteps);
  while (static_cast<int>(session.body.size()) < count) {
    for (auto& step : generator.Steps()) {
      faults += step.rfind("fail \"", 0) == 0 ? 1 : 0;
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
    const auto words = scenario::Parse(step).front().words;
    const std::string verb = scenario::ToUtf8(words[0].text);
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
    text +=
        "hang " + scenario::Quote(window) + " off\nscroll " + scenario::Quote(window) + " off\n";
  }
  text += "fail none\ncommand \"/xtbgon\"\n";
  // Every player stopped, whichever the options dialog may have chosen.
  if (open.count(u"STUDIO") != 0) {
    text += "window STUDIO \"Band - Song 0 [stopped]\"\n";
  }
  if (open.count(u"mmjb:mainwnd") != 0) {
    text += "window mmjb:mainwnd \"MUSICMATCH Jukebox\"\n";
  }
  if (open.count(u"Winamp v1.x") != 0) {
    text += "window \"Winamp v1.x\" \"Band - Song 0 [Stopped]\"\n";
  }
  text += "wmp stop\n";
  text += "tick 40\n";
  return text;
}

struct Broken {
  int line = 0;
  std::string step;      // as the file writes it
  std::string property;  // the line without its figures, the same wherever it breaks
  std::string detail;
};

// Whether a song may stay in the name after settling, as the design keeps
// it: the chosen player changed while the name showed, or was about to
// show, another player's song (switching players clears nothing, and no
// reader cuts another player's name); MUSICMATCH Jukebox chosen and not
// running (its last title is all there is); a STUDIO window closed while
// a "Winamp v1.x" window stays (the restore waits until both are gone);
// Windows Media Player's title left published (the registry refused both
// removing and emptying it); a status outside those the name is changed
// in; the switch off; or no player chosen.
bool KeptOnPurpose(sim::SimDesktop& desktop, bool playerChangedWhileShowing, bool studioClosed) {
  const auto setting = [&](const char16_t* key) {
    return desktop.registry.GetString(platform::kHkeyCurrentUser, kSettingsKeyPath, key);
  };
  const auto player = setting(kPlayer);
  const auto published =
      desktop.registry.GetString(platform::kHkeyCurrentUser, kCurrentMetadataKey, u"Title");
  const auto open = [&](const char16_t* className) {
    return desktop.windows.Newest(className) != 0;
  };
  return playerChangedWhileShowing ||
         (player == kPlayerMusicMatch && !open(kMusicMatchWindowClass)) ||
         (player == kPlayerWinamp && studioClosed && open(kWinampWindowClass)) ||
         (player == kPlayerWindowsMedia && published && !published->empty()) ||
         desktop.messenger.state.status != kOnline || setting(kOnOff) == kSwitchOff ||
         (player != kPlayerWinamp && player != kPlayerMusicMatch && player != kPlayerWindowsMedia);
}

// What a broken property's line says without its counts, the same however
// often it broke.
std::string WithoutFigures(const std::string& text) {
  std::string kind;
  for (const char c : text) {
    if ((c < '0' || c > '9') && !(c == ' ' && (kind.empty() || kind.back() == ' '))) {
      kind += c;
    }
  }
  return kind;
}

// Plays the text on a fresh desktop; the first property it breaks.
std::optional<Broken> Play(const std::string& text) {
  const std::vector<Step> parsed = scenario::Parse(text);
  sandbox::SimRunner runner(nullptr);
  auto& desktop = runner.Desktop();
  std::optional<Broken> broken;
  std::uint64_t slowest = 0;
  std::vector<std::u16string> ordinary;
  std::optional<std::u16string> player;
  bool playerChangedWhileShowing = false;
  bool studioClosed = false;
  const auto isOrdinary = [&](const std::u16string& name) {
    return std::find(ordinary.begin(), ordinary.end(), name) != ordinary.end();
  };
  const auto breaks = [&](int line, const std::string& property, const std::string& detail) {
    if (!broken) {
      const auto at = std::find_if(parsed.begin(), parsed.end(),
                                   [&](const Step& step) { return step.line == line; });
      broken = Broken{line, at != parsed.end() ? at->source : "", property, detail};
    }
  };
  runner.AfterEachStep([&](const Step& step) {
    const std::string verb = scenario::ToUtf8(step.words[0].text);
    if (verb == "host") {
      slowest = std::max<std::uint64_t>(slowest, std::stoull(step.source.substr(10)));
    }
    if (verb == "name") {
      ordinary.push_back(step.words[1].text);
    }
    if (verb == "close" && step.words[1].text == kStudioWindowClass) {
      studioClosed = true;
    }
    for (const auto& what : BrokenProperties(desktop, runner.World().Calls(), slowest)) {
      breaks(step.line, WithoutFigures(what), what);
    }
    // A song shows, or a change that waits will show one, until a restore
    // says Stopped.
    const auto now =
        desktop.registry.GetString(platform::kHkeyCurrentUser, kSettingsKeyPath, kPlayer);
    const bool showing = !isOrdinary(desktop.messenger.state.friendlyName) ||
                         desktop.registry.GetString(platform::kHkeyCurrentUser, kSettingsKeyPath,
                                                    kStatus) == kStatusPlaying;
    if (player && now != player && showing) {
      playerChangedWhileShowing = true;
    } else if (!showing) {
      playerChangedWhileShowing = false;
    }
    player = now;
  });
  runner.Run(parsed);
  const int last = parsed.back().line;
  for (const auto& failure : runner.Failures()) {
    if (failure.message.find("left open") == std::string::npos) {
      breaks(failure.line, "a step that could not be played", failure.message);
    }
  }
  const std::u16string name = desktop.messenger.state.friendlyName;
  if (!isOrdinary(name) && !KeptOnPurpose(desktop, playerChangedWhileShowing, studioClosed)) {
    breaks(last, "not the ordinary name after settling", scenario::Quote(name));
  }
  return broken;
}

// Removes chunks, then single steps, as long as the same property breaks.
std::vector<std::string> Shrink(const Session& session, const std::string& property) {
  std::vector<std::string> body = session.body;
  for (std::size_t chunk = body.size() / 2; chunk >= 1; chunk /= 2) {
    for (std::size_t at = 0; at < body.size();) {
      std::vector<std::string> fewer = body;
      fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(at),
                  fewer.begin() + static_cast<std::ptrdiff_t>(std::min(at + chunk, body.size())));
      const auto broken = Play(Text(session, fewer, ""));
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
  std::size_t faults = 0;
  std::size_t broken = 0;
};

// Runs the seeds in child processes and reports each that broke, crashed
// or hung.
void RunSeeds(const std::vector<std::uint64_t>& seeds, const Isolation& isolation, Totals& totals) {
  std::vector<Session> sessions;
  for (const std::uint64_t seed : seeds) {
    sessions.push_back(Generate(seed, totals.faults));
    totals.steps += scenario::Parse(Text(sessions.back(), sessions.back().body, "")).size();
  }
  const auto outcomes = RunIsolated(sessions.size(), isolation, [&](std::size_t i) {
    const auto broken = Play(Text(sessions[i], sessions[i].body, ""));
    return broken ? std::vector<std::string>{broken->detail} : std::vector<std::string>{};
  });
  for (std::size_t i = 0; i < sessions.size(); ++i) {
    ++totals.sessions;
    const Session& session = sessions[i];
    if (outcomes[i].kind == Outcome::kSurvived) {
      continue;
    }
    ++totals.broken;
    const auto broken =
        outcomes[i].kind == Outcome::kBroken ? Play(Text(session, session.body, "")) : std::nullopt;
    if (!broken) {
      // A crash or a hang is not shrunk here: the whole session is the file.
      std::printf("seed %llu: %s\n%s", static_cast<unsigned long long>(session.seed),
                  outcomes[i].details.c_str(),
                  Text(session, session.body, ": " + outcomes[i].details).c_str());
      continue;
    }
    std::printf("seed %llu: line %d (%s): %s: %s\n", static_cast<unsigned long long>(session.seed),
                broken->line, broken->step.c_str(), broken->property.c_str(),
                broken->detail.c_str());
    std::printf("%s",
                Text(session, Shrink(session, broken->property), ": " + broken->property).c_str());
  }
  std::fflush(stdout);
}

}  // namespace

int RunRandomSessions(std::chrono::seconds budget, std::optional<std::uint64_t> seed,
                      const Isolation& isolation) {
  const auto start = std::chrono::steady_clock::now();
  Totals totals;
  if (seed) {
    RunSeeds({*seed}, isolation, totals);
  } else {
    std::vector<std::uint64_t> fixed;
    for (std::uint64_t s = 1; s <= kFixedSeeds; ++s) {
      fixed.push_back(s);
    }
    RunSeeds(fixed, isolation, totals);
    std::uint64_t next = static_cast<std::uint64_t>(
        std::chrono::system_clock::now().time_since_epoch() / std::chrono::microseconds(1));
    std::printf("random sessions: seeds from %llu on, by the clock\n",
                static_cast<unsigned long long>(next));
    while (std::chrono::steady_clock::now() - start < budget) {
      std::vector<std::uint64_t> round;
      for (std::size_t i = 0; i < kRound; ++i) {
        round.push_back(next++);
      }
      RunSeeds(round, isolation, totals);
    }
  }
  std::printf(
      "random sessions: %zu sessions, %zu steps, %zu faults injected, %zu properties broken\n",
      totals.sessions, totals.steps, totals.faults, totals.broken);
  return totals.broken > 0 ? 1 : 0;
}

}  // namespace tb::simulation
