#include <algorithm>
#include <cstdio>
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
  std::vector<std::string> Steps(std::size_t& faults) {
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

Session Generate(std::uint64_t seed, std::size_t& faults) {
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
