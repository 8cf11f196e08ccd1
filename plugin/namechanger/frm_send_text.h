// The hidden name-changer form: loaded once at start-up, never shown, never
// unloaded. changeName turns the display name into the now-playing name and
// changeNameBack puts the ordinary name back, both by storing a "/name "
// command as the host's quick text 09 and pressing its key stroke, Alt+0, in
// a Messenger conversation window. Each step runs on when an earlier one
// failed; nothing is reported to the caller.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "plugin/base/frm_winamp.h"
#include "plugin/namechanger/messenger_api.h"

namespace tb {

inline constexpr char16_t kConversationWindowClass[] = u"IMWindowClass";
inline constexpr char16_t kDebugContact[] = u"Debug.Window";
inline constexpr char16_t kNameCommandPrefix[] = u"/name ";
// The second cut character of the MUSICMATCH Jukebox restore.
inline constexpr char16_t kMusicMatchCut = u'\u000f';

// How long to keep bringing the conversation window to the front before the
// key stroke goes to whatever window has the focus.
inline constexpr std::uint32_t kFocusWaitMs = 500;
// How long to wait for the key stroke to be processed, and how long at
// least to let the window that has the focus take it.
inline constexpr std::uint32_t kKeyStrokeWaitMs = 500;
inline constexpr std::uint32_t kKeyStrokeSettleMs = 50;
// A user whose last input is younger than this is typing: no focus moves
// and no key is pressed until they pause, so that no keystroke of theirs
// goes astray and no draft of theirs is sent.
inline constexpr std::uint32_t kUserIdleMs = 2000;
// After Windows refused the conversation window the focus, the next tries
// come after 1, 2, 4, 8, 16 and then every 30 seconds.
inline constexpr std::uint32_t kFirstRetryIntervalMs = 1000;
inline constexpr std::uint32_t kMostRetryIntervalMs = 30000;
// The class-name buffer, in characters.
inline constexpr int kClassNameBuffer = 250;

// The host's key for quick text 09 of the user signed in as `signinName`,
// under HKEY_CURRENT_USER.
std::u16string QuickTextKey(const std::u16string& signinName);

class FrmSendText {
 public:
  FrmSendText(platform::Platform& platform, MessengerApi& messenger, const FrmWinamp& frmWinamp)
      : platform_(platform), messenger_(messenger), frmWinamp_(frmWinamp) {}

  // The load handler: makes the form's own Messenger object. When none can
  // be made the form still loads, and the steps that need it fail. A name
  // change or restore loads the form first when start-up has not.
  void Load();
  [[nodiscard]] bool Loaded() const { return loaded_; }

  // A name change for the player that the caller has just read from the
  // setting Player (with no message processed since: one reading serves
  // both; nothing when the registry refused it, and then Player is read
  // again as the change is composed) and for the song it found, by the
  // title it acted on.
  void changeName(const std::optional<std::u16string>& player, const std::u16string& song);
  // A restore for the player the setting Player names now, or for the one
  // the caller has just read.
  void changeNameBack();
  void changeNameBack(const std::u16string& player);

  // A change or restore whose key stroke could not be pressed (the user
  // was typing, Windows kept the focus elsewhere, or the display name,
  // Status or the quick text could not be read or stored) waits, and the
  // newest replaces it; the poll tick calls this to deliver it as soon as it
  // can.
  void DeliverWaiting();

  // Whether changeName or changeNameBack is running: their waits let the
  // thread process messages, so a poll tick can come due inside them.
  [[nodiscard]] bool Changing() const { return changing_; }

  // oMessengerAPI, or null when the form could not make one.
  [[nodiscard]] platform::MessengerObject* oMessengerAPI() const { return oMessengerAPI_.get(); }

 private:
  // The current display name; nothing when it cannot be read or is empty,
  // and then no command is sent, so the ordinary name is never lost.
  std::optional<std::u16string> FriendlyName();
  std::optional<std::u16string> SigninName();
  // The part of the display name before what the name change appends for
  // the player (for MUSICMATCH Jukebox, its template); nothing when the
  // name cannot be read.
  std::optional<std::u16string> OrdinaryName(const std::u16string& player,
                                             const std::u16string& musicMatchTemplate);
  // Composes the command for the chosen player; false when nothing may be
  // sent. For a player the form does not know, the command last composed
  // goes again.
  bool ComposeNowPlaying(const std::u16string& player);
  bool ComposeOrdinary(const std::u16string& player);
  bool WriteStatus(const char16_t* status);
  void EnsureAutoSend();
  bool StoreCommand();
  // A name change or restore: for which player and song ("" for the
  // ordinary name), what Status says once it is asked for, and the command,
  // once the display name could be read to compose it.
  struct Delivery {
    std::optional<std::u16string> player;
    std::u16string song;
    const char16_t* status = nullptr;
    std::optional<std::u16string> command = std::nullopt;
    // The display name it was composed from.
    std::optional<std::u16string> composedFrom = std::nullopt;
    // Whether Status and the quick text hold what this one needs.
    bool stored = false;
    // Two that would show the contacts the same.
    [[nodiscard]] bool SameAs(const Delivery& other) const {
      return command == other.command && song == other.song;
    }
  };
  // Composes the command if it is not yet, and stores Status and the quick
  // text; the key stroke may be pressed only when all of them succeeded, or
  // the host would send the quick text that an earlier change left.
  void Store(Delivery& delivery);
  // A change or restore asked for: stored and delivered, or left waiting.
  void Ask(Delivery delivery);
  void Deliver(platform::Hwnd previousForeground, Delivery delivery);
  // Presses the waiting change's key stroke when it is time and the user is
  // not typing; on a refusal, sets the time of the next try.
  void TryWaiting(platform::Hwnd previousForeground);
  // Presses Alt+0 in a conversation window; false when none came to the
  // front, or the keys could not be sent.
  bool DeliverKeyStroke(platform::Hwnd previousForeground);
  bool ConversationInFront();
  bool PressAltZero();
  bool UserIsTyping();
  // Whether a waiting change may be tried now: its time has come and the
  // user is not typing.
  bool MayTry();

  platform::Platform& platform_;
  MessengerApi& messenger_;
  const FrmWinamp& frmWinamp_;
  std::unique_ptr<platform::MessengerObject> oMessengerAPI_;
  bool loaded_ = false;
  bool changing_ = false;
  // The command last composed: "/name " and the new name. It is kept, and
  // sent again when the setting Player names no player the form knows.
  std::u16string command_;
  // The display name the last command was composed from.
  std::optional<std::u16string> composedFrom_;
  // The change that waits to be delivered, and the one last delivered.
  std::optional<Delivery> waiting_;
  std::optional<Delivery> shown_;
  // When a refused change is tried again, and how long the last wait was.
  std::uint32_t nextAttempt_ = 0;
  std::uint32_t retryInterval_ = 0;
  // The last input's time as it stood right after the form's own keys.
  std::uint32_t ownInput_ = 0;
  bool ownInputKnown_ = false;
};

}  // namespace tb
