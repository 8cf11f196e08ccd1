// Plays scenario steps on the simulated desktop against the real plug-in
// code, printing each step and what the user's contacts see.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "installer/frm_setup.h"
#include "platform/sim/desktop.h"
#include "plugin/core/nick.h"
#include "plugin/core/plugin.h"
#include "tools/sandbox/sim_dialogs.h"
#include "tools/scenario/runner.h"
#include "tools/scenario/scenario.h"
#include "tools/scenario/world.h"

namespace tb::sandbox {

using Failure = scenario::Failure;

// What the host met in its calls into the plug-in (creation, ParseCommand,
// ParseTag, its own tag expansion), each taken as the COM layer takes it: an
// error thrown out of the plug-in's code becomes a failed call. Any error
// other than a refusal is also reported to the desktop's diagnostics, by
// method and message.
struct HostCalls {
  // Calls that failed because the registry refused a setting or a dialog
  // could not be shown, the ways a host call is meant to fail.
  std::size_t failed = 0;
  // The virtual time of the longest single call, in milliseconds.
  std::uint64_t longestMs = 0;
};

// The simulated desktop as the scenario language drives it.
class SimWorld final : public scenario::World {
 public:
  // Windows Media Player loads the publishing plug-in, as the installer
  // registers it.
  explicit SimWorld(sim::SimDesktop& desktop);

  [[nodiscard]] std::string Name() const override { return "sim"; }

  std::optional<std::string> Load() override;
  [[nodiscard]] bool Loaded() const override { return nick_.has_value(); }
  bool ParseCommand(const std::u16string& command, std::u16string& sResult) override;
  bool ParseTag(const std::u16string& tag, std::u16string& sResult) override;
  [[nodiscard]] std::size_t SentCount() override { return desktop_.host.Sent().size(); }
  void Tick(std::int64_t count) override;

  void SetStatus(std::int32_t status) override { desktop_.messenger.state.status = status; }
  void SetFriendlyName(const std::u16string& name) override {
    desktop_.messenger.state.friendlyName = name;
  }
  [[nodiscard]] std::u16string FriendlyName() override {
    return desktop_.messenger.state.friendlyName;
  }
  void SetSigninName(const std::u16string& name) override {
    desktop_.messenger.state.signinName = name;
  }
  [[nodiscard]] std::u16string SigninName() override { return desktop_.messenger.state.signinName; }
  void SetMessengerInstalled(bool installed) override {
    desktop_.messenger.state.installed = installed;
  }
  void SetScriptHostInstalled(bool installed) override {
    desktop_.scriptShell.installed = installed;
  }
  void SetHostDelay(std::uint32_t ms) override { desktop_.host.delayMs = ms; }

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
  void SetFileInfo(const std::optional<scenario::FileInfo>& info) override;
  void PlayMedia(const scenario::Song& song) override { desktop_.mediaPlayer.Play(song); }
  void MediaPlayer(scenario::MediaAction action) override;
  void Focus(const std::optional<std::u16string>& className) override;
  [[nodiscard]] std::optional<std::u16string> ForegroundClass() override;
  [[nodiscard]] scenario::WindowState NewestWindow(const std::u16string& className) override;
  void LockForeground(bool locked) override { desktop_.windows.LockForeground(locked); }
  void UserTypes() override { desktop_.keyboard.UserTypes(); }
  [[nodiscard]] std::optional<int> AltZeroKeys(const std::u16string& className) override;
  void FailCall(const std::string& call, std::size_t nth) override {
    desktop_.faults.FailCall(call, nth);
  }
  void ClearFaults() override { desktop_.faults.Clear(); }

  void Answer(int button) override { desktop_.messageBoxes.Answer(button); }
  [[nodiscard]] std::vector<scenario::ShownBox> ShownBoxes() override;

  void QueueDialogStep(const scenario::DialogStep& step) override { dialogs_.Queue(step); }
  [[nodiscard]] std::vector<std::u16string> ShownDialogs() override { return dialogs_.Shown(); }
  [[nodiscard]] std::optional<std::u16string> LastOpened() override;
  [[nodiscard]] std::optional<std::u16string> LastStarted() override;
  void PutFile(const std::u16string& path, const std::string& bytes) override {
    desktop_.files.Put(path, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  }
  void SetOrdinaryUser(bool ordinary) override {
    // An ordinary user may read HKEY_LOCAL_MACHINE but not write it.
    desktop_.registry.SetReadOnly(platform::kHkeyLocalMachine, ordinary);
  }

  [[nodiscard]] std::optional<std::string> GetFile(const std::u16string& path) override;
  void SetEnvironmentVariable(const std::u16string& name,
                              const std::optional<std::u16string>& value) override {
    desktop_.environment.Set(name, value);
  }
  void Installer(scenario::InstallerAction action) override;
  [[nodiscard]] bool InstallerOpen() override { return installer_.has_value(); }

  [[nodiscard]] std::optional<std::size_t> OpenRegistryKeys() override {
    return desktop_.registry.OpenHandles();
  }

  [[nodiscard]] const HostCalls& Calls() const { return calls_; }

 private:
  // Runs one host call into the plug-in: answers what it answered, or
  // nothing when it failed, with the reason in lastFailure_.
  template <typename Call>
  std::optional<bool> HostCall(const char* method, Call call);
  setup::SetupDesktop SetupDesktop();

  sim::SimDesktop& desktop_;
  HostCalls calls_;
  std::string lastFailure_;
  SimDialogs dialogs_{desktop_};
  Plugin plugin_{desktop_.Platform(), dialogs_};
  std::optional<Nick> nick_;
  std::optional<setup::FrmSetup> installer_;
};

class SimRunner {
 public:
  // Prints to `out`; a null `out` runs quietly.
  explicit SimRunner(std::FILE* out) : runner_(world_, out) {}

  // Runs the steps in order; an expectation that fails is recorded and the
  // run goes on, a step that cannot be run at all ends it.
  void Run(const std::vector<scenario::Step>& steps) { runner_.Run(steps); }
  [[nodiscard]] const std::vector<Failure>& Failures() const { return runner_.Failures(); }
  [[nodiscard]] const scenario::Runner& Player() const { return runner_; }
  void AfterEachStep(std::function<void(const scenario::Step&)> check) {
    runner_.AfterEachStep(std::move(check));
  }
  [[nodiscard]] const SimWorld& World() const { return world_; }

  sim::SimDesktop& Desktop() { return desktop_; }

 private:
  sim::SimDesktop desktop_;
  SimWorld world_{desktop_};
  scenario::Runner runner_;
};

}  // namespace tb::sandbox
