#include "tools/bench/tick_branches.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

#include "common/settings.h"
#include "platform/sim/desktop.h"
#include "plugin/core/nick.h"
#include "plugin/core/plugin.h"
#include "plugin/core/tag_expansion.h"
#include "plugin/players/mod_winamp.h"
#include "tools/sandbox/sim_dialogs.h"

namespace tb::bench {
namespace {

using platform::Hwnd;
using platform::RegKey;
using platform::Status;

// The registry, counting reads of each value by key path and name: one
// read is one opened key asked about that value, once or twice.
class CountingRegistry final : public platform::Registry {
 public:
  explicit CountingRegistry(platform::Registry& inner) : inner_(inner) {}

  Status OpenKey(RegKey root, const std::u16string& path, std::uint32_t access,
                 RegKey* key) override {
    const Status status = inner_.OpenKey(root, path, access, key);
    Remember(status, path, key);
    return status;
  }
  Status CreateKey(RegKey root, const std::u16string& path, RegKey* key) override {
    const Status status = inner_.CreateKey(root, path, key);
    Remember(status, path, key);
    return status;
  }
  Status QueryValue(RegKey key, const std::u16string& name, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override {
    Count(key, name);
    return inner_.QueryValue(key, name, type, data, size);
  }
  Status SetValue(RegKey key, const std::u16string& name, std::uint32_t type,
                  const std::uint8_t* data, std::uint32_t size) override {
    return inner_.SetValue(key, name, type, data, size);
  }
  Status DeleteValue(RegKey key, const std::u16string& name) override {
    return inner_.DeleteValue(key, name);
  }
  Status DeleteKey(RegKey root, const std::u16string& path) override {
    return inner_.DeleteKey(root, path);
  }
  Status CloseKey(RegKey key) override {
    open_.erase(key);
    return inner_.CloseKey(key);
  }

  // Reads of value `name` under `path` since the last Reset.
  [[nodiscard]] std::size_t Reads(const std::u16string& path, const std::u16string& name) const {
    const auto found = reads_.find(path + u'\\' + name);
    return found == reads_.end() ? 0 : found->second;
  }
  void Reset() { reads_.clear(); }

 private:
  struct OpenKeyRecord {
    std::u16string path;
    std::set<std::u16string> asked;
  };

  void Remember(Status status, const std::u16string& path, const RegKey* key) {
    if (status == platform::kErrorSuccess) {
      open_[*key] = OpenKeyRecord{path, {}};
    }
  }
  void Count(RegKey key, const std::u16string& name) {
    const auto found = open_.find(key);
    if (found != open_.end() && found->second.asked.insert(name).second) {
      ++reads_[found->second.path + u'\\' + name];
    }
  }

  platform::Registry& inner_;
  std::map<RegKey, OpenKeyRecord> open_;
  std::map<std::u16string, std::size_t> reads_;
};

// The windows, counting reads of a window's text by the window's class.
class CountingWindows final : public platform::Windows {
 public:
  explicit CountingWindows(sim::SimWindows& inner) : inner_(inner) {}

  Hwnd FindWindow(const char16_t* className, const char16_t* title) override {
    return inner_.FindWindow(className, title);
  }
  Hwnd FindWindowEx(Hwnd parent, Hwnd childAfter, const char16_t* className,
                    const char16_t* title) override {
    return inner_.FindWindowEx(parent, childAfter, className, title);
  }
  platform::SendResult SendMessageTimeout(Hwnd window, std::uint32_t message, std::uintptr_t wparam,
                                          std::intptr_t lparam, std::uint32_t timeoutMs,
                                          std::intptr_t* result) override {
    if (message == platform::kWmGetTextLength) {
      Count(window);
    }
    return inner_.SendMessageTimeout(window, message, wparam, lparam, timeoutMs, result);
  }
  bool PostMessage(Hwnd window, std::uint32_t message, std::uintptr_t wparam,
                   std::intptr_t lparam) override {
    return inner_.PostMessage(window, message, wparam, lparam);
  }
  int GetWindowText(Hwnd window, char16_t* buffer, int maxCount) override {
    Count(window);
    return inner_.GetWindowText(window, buffer, maxCount);
  }
  int GetClassName(Hwnd window, char16_t* buffer, int maxCount) override {
    return inner_.GetClassName(window, buffer, maxCount);
  }
  Hwnd GetForegroundWindow() override { return inner_.GetForegroundWindow(); }
  bool SetForegroundWindow(Hwnd window) override { return inner_.SetForegroundWindow(window); }
  bool ShowWindowAsync(Hwnd window, int command) override {
    return inner_.ShowWindowAsync(window, command);
  }
  bool BringWindowToTop(Hwnd window) override { return inner_.BringWindowToTop(window); }
  Hwnd GetActiveWindow() override { return inner_.GetActiveWindow(); }

  [[nodiscard]] std::size_t TextReads(const std::u16string& className) const {
    const auto found = reads_.find(className);
    return found == reads_.end() ? 0 : found->second;
  }
  void Reset() { reads_.clear(); }

 private:
  void Count(Hwnd window) {
    const sim::SimWindow* target = inner_.Get(window);
    if (target != nullptr) {
      ++reads_[target->className];
    }
  }

  sim::SimWindows& inner_;
  std::map<std::u16string, std::size_t> reads_;
};

const std::vector<std::string> kKindNames = {"Messenger", "reg opens", "reg reads", "reg writes",
                                             "window",    "pump",      "other"};

const std::map<std::string, std::string>& KindTable() {
  static const std::map<std::string, std::string> kinds = {
      {"CoCreateInstance(Messenger)", "Messenger"},
      {"IMessenger::MyStatus", "Messenger"},
      {"IMessenger::MyFriendlyName", "Messenger"},
      {"IMessenger::MySigninName", "Messenger"},
      {"IMessenger::InstantMessage", "Messenger"},
      {"IMessengerWindow::HWND", "Messenger"},
      {"RegOpenKeyExW", "reg opens"},
      {"RegCreateKeyExW", "reg opens"},
      {"RegQueryValueExW", "reg reads"},
      {"RegSetValueExW", "reg writes"},
      {"RegDeleteValueW", "reg writes"},
      {"RegDeleteKeyW", "reg writes"},
      {"FindWindowW", "window"},
      {"FindWindowExW", "window"},
      {"SendMessageTimeoutW", "window"},
      {"PostMessageW", "window"},
      {"GetWindowTextW", "window"},
      {"GetClassNameW", "window"},
      {"GetForegroundWindow", "window"},
      {"SetForegroundWindow", "window"},
      {"ShowWindowAsync", "window"},
      {"BringWindowToTop", "window"},
      {"GetActiveWindow", "window"},
      {"DispatchMessageW", "pump"},
      {"MsgWaitForMultipleObjects", "pump"},
      {"GetQueueStatus", "pump"},
  };
  return kinds;
}

const char16_t* PlayerOf(Branch branch) {
  switch (branch) {
    case Branch::kMusicMatchSameSong:
    case Branch::kMusicMatchNewSong:
      return kPlayerMusicMatch;
    case Branch::kWindowsMediaSameSong:
    case Branch::kWindowsMediaNewSong:
      return kPlayerWindowsMedia;
    default:
      return kPlayerWinamp;
  }
}

}  // namespace

const std::vector<BranchInfo>& Branches() {
  static const std::vector<BranchInfo> branches = {
      {Branch::kSignedOut, "signed out", false},
      {Branch::kSwitchedOff, "switched off", false},
      {Branch::kWinampSameSong, "Winamp, same song", false},
      {Branch::kWinampNewSong, "Winamp, new song", true},
      {Branch::kStudioSameSong, "STUDIO, same song", false},
      {Branch::kStudioNewSong, "STUDIO, new song", true},
      {Branch::kMusicMatchSameSong, "MUSICMATCH, same song", false},
      {Branch::kMusicMatchNewSong, "MUSICMATCH, new song", true},
      {Branch::kWindowsMediaSameSong, "Windows Media, same song", false},
      {Branch::kWindowsMediaNewSong, "Windows Media, new song", true},
  };
  return branches;
}

const std::vector<std::string>& Kinds() { return kKindNames; }

std::string KindOf(const std::string& call) {
  const auto found = KindTable().find(call);
  return found == KindTable().end() ? "other" : found->second;
}

std::size_t TickCounts::OfKind(const std::string& kind) const {
  std::size_t count = 0;
  for (const auto& [call, made] : calls) {
    if (KindOf(call) == kind) {
      count += made;
    }
  }
  return count;
}

std::size_t TickCounts::Total() const {
  std::size_t count = 0;
  for (const auto& entry : calls) {
    count += entry.second;
  }
  return count;
}

struct TickBench::World {
  sim::SimDesktop desktop;
  CountingRegistry registry{desktop.registry};
  CountingWindows windows{desktop.windows};
  platform::Platform platform{registry,
                              desktop.timer,
                              desktop.messagePump,
                              desktop.messenger,
                              windows,
                              desktop.keyboard,
                              desktop.scriptShell,
                              desktop.messageBoxes,
                              desktop.shell,
                              desktop.files,
                              desktop.processes,
                              desktop.module,
                              desktop.diagnostics};
  sandbox::SimDialogs dialogs{desktop};
  Plugin plugin{platform, dialogs};
  std::optional<Nick> nick;
};

TickBench::TickBench(Branch branch)
    : world_(std::make_unique<World>()),
      branch_(branch),
      newSong_(std::any_of(Branches().begin(), Branches().end(), [branch](const BranchInfo& info) {
        return info.branch == branch && info.newSong;
      })) {
  sim::SimDesktop& desktop = world_->desktop;
  desktop.messenger.state.signinName = u"ann@example.com";
  desktop.messenger.state.friendlyName = u"Ann";
  desktop.registry.PutString(platform::kHkeyCurrentUser, kSettingsKeyPath, kPlayer,
                             PlayerOf(branch));
  if (branch == Branch::kSignedOut) {
    desktop.messenger.state.status = sim::kStatusOffline;
  }
  if (branch == Branch::kSwitchedOff) {
    desktop.registry.PutString(platform::kHkeyCurrentUser, kSettingsKeyPath, kOnOff, kSwitchOff);
  }
  // The user works in another program while the music plays.
  desktop.windows.Focus(desktop.windows.Open(u"Notepad", u"Untitled - Notepad"));
  world_->nick.emplace(world_->plugin);
  desktop.host.parseTag = [this](const std::u16string& tag, std::u16string& result) {
    return world_->nick->ParseTag(tag, nullptr, result);
  };
  // The first song is shown before any tick is measured.
  ShowSong();
  Tick();
}

TickBench::~TickBench() = default;

void TickBench::ShowSong() {
  sim::SimDesktop& desktop = world_->desktop;
  ++song_;
  const std::u16string song =
      u"Song " + std::u16string(1, static_cast<char16_t>(u'A' + song_ % 26));
  desktop.players.SetFileInfo({song, u"Band", u"Album"});
  const auto retitle = [&desktop](const char16_t* className, const std::u16string& title) {
    const Hwnd window = desktop.windows.Newest(className);
    if (window != 0) {
      desktop.windows.Get(window)->title = title;
    } else {
      desktop.windows.Open(className, title);
    }
  };
  switch (branch_) {
    case Branch::kStudioSameSong:
    case Branch::kStudioNewSong:
      retitle(kStudioWindowClass, u"Band - " + song);
      break;
    case Branch::kMusicMatchSameSong:
    case Branch::kMusicMatchNewSong:
      retitle(kMusicMatchWindowClass, u"\"" + song + u"\" by Band - MUSICMATCH Jukebox");
      break;
    case Branch::kWindowsMediaSameSong:
    case Branch::kWindowsMediaNewSong:
      desktop.registry.PutString(platform::kHkeyCurrentUser, kCurrentMetadataKey, u"Title", song);
      break;
    default:
      retitle(kWinampWindowClass, u"Band - " + song + u" - Winamp");
      break;
  }
}

void TickBench::Tick() {
  sim::SimDesktop& desktop = world_->desktop;
  if (newSong_) {
    ShowSong();
  }
  desktop.timer.Advance(kPollIntervalMs);
  if (desktop.host.Sent().size() > 1000) {
    desktop.host.ForgetRecords();
  }
}

TickCounts TickBench::CountedTick() {
  sim::SimDesktop& desktop = world_->desktop;
  desktop.faults.KeepLog(true);
  const std::size_t logged = desktop.faults.Log().size();
  const std::size_t status = desktop.faults.CountOf("IMessenger::MyStatus");
  const std::size_t sent = desktop.host.SentCount();
  world_->registry.Reset();
  world_->windows.Reset();
  Tick();
  desktop.faults.KeepLog(false);

  TickCounts counts;
  const auto& log = desktop.faults.Log();
  for (std::size_t i = logged; i < log.size(); ++i) {
    ++counts.calls[log[i]];
  }
  counts.statusReads = desktop.faults.CountOf("IMessenger::MyStatus") - status;
  for (const char16_t* key :
       {kOnOff, kPlayer, kStatus, kCurrentTag, kCurrentTagMMJ, kCurrentTagWMP}) {
    counts.settingReads[key] = world_->registry.Reads(kSettingsKeyPath, key);
  }
  switch (branch_) {
    case Branch::kStudioSameSong:
    case Branch::kStudioNewSong:
      counts.titleReads = world_->windows.TextReads(kStudioWindowClass);
      break;
    case Branch::kMusicMatchSameSong:
    case Branch::kMusicMatchNewSong:
      counts.titleReads = world_->windows.TextReads(kMusicMatchWindowClass);
      break;
    case Branch::kWindowsMediaSameSong:
    case Branch::kWindowsMediaNewSong:
      counts.titleReads = world_->registry.Reads(kCurrentMetadataKey, u"Title");
      break;
    default:
      counts.titleReads = world_->windows.TextReads(kWinampWindowClass);
      break;
  }
  counts.sent = desktop.host.SentCount() - sent;
  return counts;
}

}  // namespace tb::bench
