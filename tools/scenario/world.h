// A desktop as the scenario language drives it: the plug-in's outside world
// (the host, Messenger, the players, the user and the registry), on the
// simulated desktop or on real Windows. Each program that plays scenario
// files provides one, and tools/scenario/runner.h plays the steps against it,
// so a step means the same on every desktop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sim/media_player.h"
#include "platform/sim/players.h"
#include "platform/types.h"

namespace tb::scenario {

// A step that cannot be run as written, or not on this desktop; it ends the
// run of the file.
class StepError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A command or tag that the plug-in answered as a failed call, with the
// reason; the runner lets the next step expect it.
class FailedCall : public StepError {
 public:
  using StepError::StepError;
};

struct RegistryValue {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
};

// What Winamp's file-information dialog shows.
using sim::FileInfo;
// A song Windows Media Player plays.
using sim::Song;

struct ShownBox {
  std::u16string caption;
  std::u16string text;
};

enum class WindowState { kAbsent, kVisible, kHidden };

// What the user does in the next options dialog or about box.
struct DialogStep {
  enum Kind { kSelect, kText, kSave, kHelp, kClose, kOk, kSysInfo, kEmail, kWeb, kEscape };
  Kind kind = kClose;
  int player = 0;  // 0 Winamp, 1 MUSICMATCH Jukebox, 2 Windows Media Player
  std::u16string text;
};

// What the user does in the installer's window.
enum class InstallerAction {
  kOpen,
  kChooseWinamp,
  kChooseMusicMatch,
  kChooseWindowsMedia,
  kInstall,
  kUninstall,
  kCancel
};

// Windows Media Player's buttons, and what each does to the player.
enum class MediaAction { kPause, kStop, kClose };
inline void Press(sim::SimMediaPlayer& player, MediaAction action) {
  if (action == MediaAction::kPause) {
    player.Pause();
  } else if (action == MediaAction::kStop) {
    player.Stop();
  } else {
    player.Close();
  }
}

class World {
 public:
  virtual ~World() = default;

  // The desktop's name as `requires` gives it: "sim" or "windows".
  [[nodiscard]] virtual std::string Name() const = 0;

  // The host. Load creates the first Nick object unless one exists, which
  // runs start-up; it answers why when creation fails.
  virtual std::optional<std::string> Load() = 0;
  [[nodiscard]] virtual bool Loaded() const = 0;
  virtual bool ParseCommand(const std::u16string& command, std::u16string& sResult) = 0;
  virtual bool ParseTag(const std::u16string& tag, std::u16string& sResult) = 0;
  // How many texts the host has sent so far.
  [[nodiscard]] virtual std::size_t SentCount() = 0;
  // Lets `count` poll ticks fire.
  virtual void Tick(std::int64_t count) = 0;

  // Messenger and the script host.
  virtual void SetStatus(std::int32_t status) = 0;
  virtual void SetFriendlyName(const std::u16string& name) = 0;
  [[nodiscard]] virtual std::u16string FriendlyName() = 0;
  virtual void SetSigninName(const std::u16string& name) = 0;
  [[nodiscard]] virtual std::u16string SigninName() = 0;
  virtual void SetMessengerInstalled(bool installed) = 0;
  virtual void SetScriptHostInstalled(bool installed) = 0;
  // How long the host holds its thread over each Alt+0 before it takes the
  // quick text.
  virtual void SetHostDelay(std::uint32_t ms) = 0;

  // The registry, as another program writes and reads it.
  virtual void PutValue(platform::RegKey root, const std::u16string& path,
                        const std::u16string& name, const RegistryValue& value) = 0;
  virtual void RemoveValue(platform::RegKey root, const std::u16string& path,
                           const std::u16string& name) = 0;
  [[nodiscard]] virtual std::optional<RegistryValue> GetValue(platform::RegKey root,
                                                              const std::u16string& path,
                                                              const std::u16string& name) = 0;

  // Windows and the user. OpenWindow retitles the newest top-level window of
  // the class, or opens one; CloseWindow and HangWindow act on the newest.
  virtual void OpenWindow(const std::u16string& className, const std::u16string& title) = 0;
  virtual void CloseWindow(const std::u16string& className) = 0;
  virtual void HangWindow(const std::u16string& className, bool hung) = 0;
  // The newest window of the class scrolls its title as Winamp scrolls its
  // title in the taskbar (or stops): the title and " *** ", turned round by
  // one character every sim::kScrollTurnMs; a new title scrolls from its
  // start.
  virtual void ScrollWindow(const std::u16string& className, bool scrolling) = 0;
  // Nothing: Winamp ignores its file-information command from now on.
  virtual void SetFileInfo(const std::optional<FileInfo>& info) = 0;
  // Windows Media Player: PlayMedia starts it when it is not running (it
  // loads its publishing plug-in) and plays the song, moving to it from
  // another; Close also fails the step when the plug-in kept a reference.
  virtual void PlayMedia(const Song& song) = 0;
  virtual void MediaPlayer(MediaAction action) = 0;
  // Nothing: no window has the focus.
  virtual void Focus(const std::optional<std::u16string>& className) = 0;
  [[nodiscard]] virtual std::optional<std::u16string> ForegroundClass() = 0;
  [[nodiscard]] virtual WindowState NewestWindow(const std::u16string& className) = 0;
  virtual void LockForeground(bool locked) = 0;
  // The user presses and releases a key in the window in front, now.
  virtual void UserTypes() = 0;
  // How many Alt+0 key strokes the newest window of the class has received
  // since it was opened; nothing when there is none.
  [[nodiscard]] virtual std::optional<int> AltZeroKeys(const std::u16string& className) = 0;
  // The nth call from now of a seam call (by the simulated desktop's name
  // for it) fails.
  virtual void FailCall(const std::string& call, std::size_t nth) = 0;
  // No seam call fails any more but by a later `fail`. Played only on the
  // simulated desktop.
  virtual void ClearFaults() {}

  // Message boxes: the answer to the next one, and those shown so far.
  virtual void Answer(int button) = 0;
  [[nodiscard]] virtual std::vector<ShownBox> ShownBoxes() = 0;

  // Modal dialogs: the user's next actions, and the captions shown so far.
  virtual void QueueDialogStep(const DialogStep& step) = 0;
  [[nodiscard]] virtual std::vector<std::u16string> ShownDialogs() = 0;

  // Played only on the simulated desktop: the runner refuses their steps on
  // any other, so a desktop that does not play them leaves them as they are.
  // What the shell was last asked to open, and the program last started.
  [[nodiscard]] virtual std::optional<std::u16string> LastOpened() { throw NotPlayed(); }
  [[nodiscard]] virtual std::optional<std::u16string> LastStarted() { throw NotPlayed(); }
  // Files, and whether HKEY_LOCAL_MACHINE may be written.
  virtual void PutFile(const std::u16string& /*path*/, const std::string& /*bytes*/) {
    throw NotPlayed();
  }
  virtual void SetOrdinaryUser(bool /*ordinary*/) { throw NotPlayed(); }
  // A file's bytes, or nothing when there is no such file.
  [[nodiscard]] virtual std::optional<std::string> GetFile(const std::u16string& /*path*/) {
    throw NotPlayed();
  }
  // An environment variable; nothing removes it.
  virtual void SetEnvironmentVariable(const std::u16string& /*name*/,
                                      const std::optional<std::u16string>& /*value*/) {
    throw NotPlayed();
  }
  // The installer: Open starts it (its first box is answered as `answer`
  // said), the other actions are the user's in its window while it is open.
  virtual void Installer(InstallerAction /*action*/) { throw NotPlayed(); }
  [[nodiscard]] virtual bool InstallerOpen() { throw NotPlayed(); }

  // How many registry keys the plug-in holds open, where this desktop can
  // count them.
  [[nodiscard]] virtual std::optional<std::size_t> OpenRegistryKeys() = 0;

 private:
  static StepError NotPlayed() { return StepError{"not played on this desktop"}; }
};

}  // namespace tb::scenario
