// Real Windows as the scenario language drives it: Tunebadge.dll created by
// its ProgID through COM, real windows, the real registry, and stand-ins for
// what the plug-in talks to (Messenger's class object, the host's quick
// texts, the players), each behaving as its counterpart on the simulated
// desktop does. One world per process: the plug-in is loaded afresh for each.
//
// Where the two desktops must differ:
// - "No window has the focus" is the desktop window in front, as Windows has
//   it when the user clicks on the desktop; a world starts that way.
// - A window that hangs hangs its whole thread: a player and the dialog it
//   opened.
// - Only Messenger's calls can be made to fail, and Windows cannot be made to
//   refuse the focus: files that need that say `requires sim`.
// - The about box's links are not followed: the shell would open them for
//   real. What is opened and started, files and user rights are the
//   simulated desktop's too.
#pragma once

#include <windows.h>

#include <cstddef>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/win32/scenario_host/dialog_user.h"
#include "tests/win32/scenario_host/media_player_standin.h"
#include "tests/win32/scenario_host/players.h"
#include "tests/win32/scenario_host/quick_text_host.h"
#include "tests/win32/scenario_host/window_threads.h"
#include "tests/win32/support/com_support.h"
#include "tests/win32/support/messenger_standin.h"
#include "tools/scenario/world.h"
#include "tunebadge.h"

namespace tb::test {

inline constexpr char16_t kProgId[] = u"Tunebadge.Nick";

// A class object that stands in for a class which is not installed: every
// object asked of it is refused with REGDB_E_CLASSNOTREG. Registered for a
// class's CLSID it hides the class from this process (COM finds registered
// class objects before the registry); nothing outside the process changes.
class AbsentClass {
 public:
  AbsentClass() = default;
  ~AbsentClass() { Show(); }
  AbsentClass(const AbsentClass&) = delete;
  AbsentClass& operator=(const AbsentClass&) = delete;
  AbsentClass(AbsentClass&&) = delete;
  AbsentClass& operator=(AbsentClass&&) = delete;

  // Hides the class of that ProgID; answers how COM took it.
  HRESULT Hide(const char16_t* progId);
  // Makes it visible again.
  void Show();
  [[nodiscard]] bool Hidden() const { return cookie_ != 0; }

 private:
  DWORD cookie_ = 0;
};

// Counts the plug-in's poll ticks: the WM_TIMER messages of thread timers
// that this thread takes from its queue, the plug-in's own nested message
// loops included. Only one counter per process.
class TickCounter {
 public:
  TickCounter() = default;
  ~TickCounter() { Stop(); }
  TickCounter(const TickCounter&) = delete;
  TickCounter& operator=(const TickCounter&) = delete;
  TickCounter(TickCounter&&) = delete;
  TickCounter& operator=(TickCounter&&) = delete;

  // Counts on this thread from now on.
  bool Start();
  void Stop();
  [[nodiscard]] static long Count();
};

// Message boxes shown on this thread, as the user answers them: each is
// recorded (caption and text) and closed with the answer given in advance,
// or with its first button.
class MessageBoxWatch {
 public:
  MessageBoxWatch();
  ~MessageBoxWatch();
  MessageBoxWatch(const MessageBoxWatch&) = delete;
  MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;
  MessageBoxWatch(MessageBoxWatch&&) = delete;
  MessageBoxWatch& operator=(MessageBoxWatch&&) = delete;

  [[nodiscard]] bool Watching() const { return hook_ != nullptr; }
  void Answer(int button) { answers_.push_back(button); }
  [[nodiscard]] const std::vector<scenario::ShownBox>& Shown() const { return shown_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam);
  void OnActivate(HWND window);

  HHOOK hook_ = nullptr;
  std::deque<int> answers_;
  std::vector<scenario::ShownBox> shown_;
};

class Win32World final : public scenario::World {
 public:
  // Tunebadge.dll must be registered already. `messenger` must outlive the
  // world: the plug-in keeps its Messenger objects to the end of the process.
  explicit Win32World(MessengerStandInState& messenger);
  ~Win32World() override;
  Win32World(const Win32World&) = delete;
  Win32World& operator=(const Win32World&) = delete;
  Win32World(Win32World&&) = delete;
  Win32World& operator=(Win32World&&) = delete;

  // What could not be set up, or nothing.
  [[nodiscard]] std::optional<std::string> SetUpFailure() const { return setUpFailure_; }

  [[nodiscard]] std::string Name() const override { return "windows"; }

  std::optional<std::string> Load() override;
  [[nodiscard]] bool Loaded() const override { return static_cast<bool>(nick_); }
  bool ParseCommand(const std::u16string& command, std::u16string& sResult) override;
  bool ParseTag(const std::u16string& tag, std::u16string& sResult) override;
  [[nodiscard]] std::size_t SentCount() override { return host_.Sent().size(); }
  void Tick(std::int64_t count) override;

  void SetStatus(std::int32_t status) override { messenger_.status = status; }
  void SetFriendlyName(const std::u16string& name) override { messenger_.friendlyName = name; }
  [[nodiscard]] std::u16string FriendlyName() override { return messenger_.friendlyName; }
  void SetSigninName(const std::u16string& name) override { messenger_.signinName = name; }
  [[nodiscard]] std::u16string SigninName() override { return messenger_.signinName; }
  void SetMessengerInstalled(bool installed) override { messenger_.installed = installed; }
  void SetScriptHostInstalled(bool installed) override;
  void SetHostDelay(std::uint32_t ms) override { host_.SetDelay(ms); }

  void PutValue(platform::RegKey root, const std::u16string& path, const std::u16string& name,
                const scenario::RegistryValue& value) override;
  void RemoveValue(platform::RegKey root, const std::u16string& path,
                   const std::u16string& name) override;
  [[nodiscard]] std::optional<scenario::RegistryValue> GetValue(
      platform::RegKey root, const std::u16string& path, const std::u16string& name) override;

  void OpenWindow(const std::u16string& className, const std::u16string& title) override;
  void CloseWindow(const std::u16string& className) override;
  void HangWindow(const std::u16string& className, bool hung) override;
  void ScrollWindow(const std::u16string& className, bool scrolling) override;
  void SetFileInfo(const std::optional<scenario::FileInfo>& info) override {
    players_.SetFileInfo(info);
  }
  void PlayMedia(const scenario::Song& song) override;
  void MediaPlayer(scenario::MediaAction action) override;
  void Focus(const std::optional<std::u16string>& className) override;
  [[nodiscard]] std::optional<std::u16string> ForegroundClass() override;
  [[nodiscard]] scenario::WindowState NewestWindow(const std::u16string& className) override;
  // Windows hands the focus over when asked (`foreground locked` is played
  // only on the simulated desktop).
  void LockForeground(bool /*locked*/) override {}
  // A real key event (Shift pressed and released) to the window in front.
  void UserTypes() override;
  [[nodiscard]] std::optional<int> AltZeroKeys(const std::u16string& className) override;
  void FailCall(const std::string& call, std::size_t nth) override;

  void Answer(int button) override { boxes_.Answer(button); }
  [[nodiscard]] std::vector<scenario::ShownBox> ShownBoxes() override { return boxes_.Shown(); }

  void QueueDialogStep(const scenario::DialogStep& step) override { dialogs_.Queue(step); }
  [[nodiscard]] std::vector<std::u16string> ShownDialogs() override { return dialogs_.Shown(); }

  [[nodiscard]] std::optional<std::size_t> OpenRegistryKeys() override { return std::nullopt; }

  // For the checks of the world itself.
  QuickTextHost& Host() { return host_; }
  Players& PlayerWindows() { return players_; }
  WindowLedger& Ledger() { return ledger_; }

 private:
  // Remembers what a registry value was before the scenario first changed
  // it, and which keys the scenario made, so both can be put back.
  void RememberValue(HKEY root, const std::u16string& path, const std::u16string& name);
  void PutBackRegistry();

  MessengerStandInState& messenger_;
  std::optional<std::string> setUpFailure_;
  MessengerStandIn standIn_;
  AbsentClass scriptHost_;
  WindowLedger ledger_;
  QuickTextHost host_;
  Players players_;
  MessageBoxWatch boxes_;
  DialogUser dialogs_;
  TickCounter ticks_;
  Ref<::_Nick> nick_;
  // Closed first of all when the world ends: its plug-in lets the core go.
  MediaPlayerStandIn mediaPlayer_;

  struct SavedValue {
    HKEY root;
    std::u16string path;
    std::u16string name;
    std::optional<scenario::RegistryValue> value;
  };
  std::vector<SavedValue> savedValues_;
  // Keys that did not exist before the scenario made them: root and path.
  std::vector<std::pair<HKEY, std::u16string>> madeKeys_;
};

}  // namespace tb::test
