#include "tools/sandbox/sim_runner.h"

#include <algorithm>
#include <stdexcept>

#include "common/contained.h"
#include "common/settings.h"
#include "publisher/publisher.h"

namespace tb::sandbox {

using scenario::StepError;
using scenario::ToUtf8;

SimWorld::SimWorld(sim::SimDesktop& desktop) : desktop_(desktop) {
  desktop_.mediaPlayer.makePlugin = [&registry = desktop_.registry] {
    return std::make_unique<publisher::Publisher>(registry);
  };
}

template <typename Call>
std::optional<bool> SimWorld::HostCall(const char* method, Call call) {
  const std::uint64_t start = desktop_.timer.Now();
  std::optional<bool> answered;
  try {
    answered = call();
  } catch (const Refused& error) {
    ++calls_.failed;
    lastFailure_ = error.what();
  } catch (const std::exception& error) {
    lastFailure_ = error.what();
    ReportIfUnexpected(desktop_.diagnostics, method);
  } catch (...) {
    lastFailure_ = "an error of unknown type";
    ReportIfUnexpected(desktop_.diagnostics, method);
  }
  calls_.longestMs = std::max(calls_.longestMs, desktop_.timer.Now() - start);
  return answered;
}

std::optional<std::string> SimWorld::Load() {
  if (nick_) {
    return std::nullopt;
  }
  if (!HostCall("creation", [this] {
        nick_.emplace(plugin_);
        return true;
      })) {
    return lastFailure_;
  }
  desktop_.host.parseTag = [this](const std::u16string& tag, std::u16string& result) {
    // A failed call leaves the tag as typed, as the host does.
    return HostCall("ParseTag", [&] { return nick_->ParseTag(tag, nullptr, result); })
        .value_or(false);
  };
  return std::nullopt;
}

bool SimWorld::ParseCommand(const std::u16string& command, std::u16string& sResult) {
  const auto answered =
      HostCall("ParseCommand", [&] { return nick_->ParseCommand(command, u"", nullptr, sResult); });
  if (!answered) {
    throw scenario::FailedCall("ParseCommand failed: " + lastFailure_);
  }
  return *answered;
}

bool SimWorld::ParseTag(const std::u16string& tag, std::u16string& sResult) {
  const auto answered =
      HostCall("ParseTag", [&] { return nick_->ParseTag(tag, nullptr, sResult); });
  if (!answered) {
    throw scenario::FailedCall("ParseTag failed: " + lastFailure_);
  }
  return *answered;
}

void SimWorld::Tick(std::int64_t count) {
  for (std::int64_t i = 0; i < count; ++i) {
    desktop_.timer.Advance(kPollIntervalMs);
  }
}

void SimWorld::PutValue(platform::RegKey root, const std::u16string& path,
                        const std::u16string& name, const scenario::RegistryValue& value) {
  desktop_.registry.Put(root, path, name, sim::RegValue{value.type, value.data});
}

void SimWorld::RemoveValue(platform::RegKey root, const std::u16string& path,
                           const std::u16string& name) {
  desktop_.registry.Remove(root, path, name);
}

std::optional<scenario::RegistryValue> SimWorld::GetValue(platform::RegKey root,
                                                          const std::u16string& path,
                                                          const std::u16string& name) {
  const auto value = desktop_.registry.Get(root, path, name);
  if (!value) {
    return std::nullopt;
  }
  return scenario::RegistryValue{value->type, value->data};
}

void SimWorld::OpenWindow(const std::u16string& className, const std::u16string& title) {
  auto& windows = desktop_.windows;
  const platform::Hwnd existing = windows.Newest(className);
  if (existing != 0) {
    windows.Retitle(existing, title);
  } else {
    windows.Open(className, title);
  }
}

void SimWorld::CloseWindow(const std::u16string& className) {
  desktop_.windows.Close(desktop_.windows.Newest(className));
}

void SimWorld::HangWindow(const std::u16string& className, bool hung) {
  const platform::Hwnd window = desktop_.windows.Newest(className);
  if (window == 0) {
    throw StepError("hang: no window of class " + ToUtf8(className));
  }
  desktop_.windows.Get(window)->hung = hung;
}

void SimWorld::ScrollWindow(const std::u16string& className, bool scrolling) {
  const platform::Hwnd window = desktop_.windows.Newest(className);
  if (window == 0) {
    throw StepError("scroll: no window of class " + ToUtf8(className));
  }
  desktop_.windows.Scroll(window, scrolling);
}

void SimWorld::MediaPlayer(scenario::MediaAction action) {
  auto& player = desktop_.mediaPlayer;
  scenario::Press(player, action);
  if (action == scenario::MediaAction::kClose && player.MediaHeld() != 0) {
    throw StepError("wmp close: the plug-in kept " + std::to_string(player.MediaHeld()) +
                    " media references");
  }
}

void SimWorld::SetFileInfo(const std::optional<scenario::FileInfo>& info) {
  desktop_.players.IgnoreFileInfoCommand(!info);
  if (info) {
    desktop_.players.SetFileInfo(*info);
  }
}

void SimWorld::Focus(const std::optional<std::u16string>& className) {
  auto& windows = desktop_.windows;
  if (!className) {
    windows.Focus(0);
    return;
  }
  platform::Hwnd window = windows.Newest(*className);
  if (window == 0) {
    window = windows.Open(*className, *className);
  }
  windows.Focus(window);
}

std::optional<std::u16string> SimWorld::ForegroundClass() {
  const sim::SimWindow* window = desktop_.windows.Get(desktop_.windows.Foreground());
  if (window == nullptr) {
    return std::nullopt;
  }
  return window->className;
}

scenario::WindowState SimWorld::NewestWindow(const std::u16string& className) {
  const sim::SimWindow* window = desktop_.windows.Get(desktop_.windows.Newest(className));
  if (window == nullptr) {
    return scenario::WindowState::kAbsent;
  }
  return window->visible ? scenario::WindowState::kVisible : scenario::WindowState::kHidden;
}

std::optional<int> SimWorld::AltZeroKeys(const std::u16string& className) {
  const sim::SimWindow* window = desktop_.windows.Get(desktop_.windows.Newest(className));
  return window != nullptr ? std::optional<int>(window->altZeroCount) : std::nullopt;
}

std::vector<scenario::ShownBox> SimWorld::ShownBoxes() {
  std::vector<scenario::ShownBox> boxes;
  for (const auto& box : desktop_.messageBoxes.Shown()) {
    boxes.push_back(scenario::ShownBox{box.caption, box.text});
  }
  return boxes;
}

std::optional<std::u16string> SimWorld::LastOpened() {
  const auto& opened = desktop_.shell.Opened();
  if (opened.empty()) {
    return std::nullopt;
  }
  return opened.back().file;
}

std::optional<std::u16string> SimWorld::LastStarted() {
  const auto& started = desktop_.processes.StartedPrograms();
  if (started.empty()) {
    return std::nullopt;
  }
  return started.back().commandLine;
}

std::optional<std::string> SimWorld::GetFile(const std::u16string& path) {
  const auto bytes = desktop_.files.Get(path);
  if (!bytes) {
    return std::nullopt;
  }
  return std::string(bytes->begin(), bytes->end());
}

setup::SetupDesktop SimWorld::SetupDesktop() {
  return setup::SetupDesktop{desktop_.registry,    desktop_.files, desktop_.processes,
                             desktop_.environment, desktop_.shell, desktop_.messageBoxes};
}

void SimWorld::Installer(scenario::InstallerAction action) {
  using scenario::InstallerAction;
  if (action == InstallerAction::kOpen) {
    if (installer_) {
      throw StepError("installer: it is open already");
    }
    installer_.emplace(SetupDesktop());
    installer_->Load();
    return;
  }
  if (!installer_) {
    throw StepError("installer: the installer is not open (use installer open)");
  }
  setup::FrmSetup& form = *installer_;
  switch (action) {
    case InstallerAction::kChooseWinamp:
    case InstallerAction::kChooseMusicMatch:
    case InstallerAction::kChooseWindowsMedia:
      // Option buttons of one group: the clicked one alone is selected.
      form.selected = action == InstallerAction::kChooseWinamp       ? PlayerChoice::kWinamp
                      : action == InstallerAction::kChooseMusicMatch ? PlayerChoice::kMusicMatch
                                                                     : PlayerChoice::kWindowsMedia;
      break;
    case InstallerAction::kInstall:
      form.Install();
      break;
    case InstallerAction::kUninstall:
      form.Uninstall();
      break;
    case InstallerAction::kCancel:
      form.Cancel();
      break;
    case InstallerAction::kOpen:
      break;
  }
  if (form.unloaded) {
    installer_.reset();
  }
}

}  // namespace tb::sandbox
