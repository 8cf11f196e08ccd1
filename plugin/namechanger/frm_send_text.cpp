#include "plugin/namechanger/frm_send_text.h"

#include <algorithm>
#include <array>
#include <vector>

#include "common/mod_reg.h"
#include "common/settings.h"
#include "common/text.h"
#include "plugin/base/bounded_wait.h"
#include "plugin/base/scoped_flag.h"

namespace tb {
namespace {

constexpr std::uint16_t kVk0 = 0x30;
const std::u16string kMarker(1, kNameMarker);

bool IsKnownPlayer(const std::u16string& player) {
  return player == kPlayerMusicMatch || player == kPlayerWindowsMedia || player == kPlayerWinamp;
}

}  // namespace

std::u16string QuickTextKey(const std::u16string& signinName) {
  return u"Software\\Pelorin\\MsgPlus2\\" + signinName + u"\\Preferences\\QuickTexts\\QuickText09";
}

void FrmSendText::Load() {
  oMessengerAPI_ = messenger_.NewMessenger();
  loaded_ = true;
}

std::optional<std::u16string> FrmSendText::FriendlyName() {
  platform::MessengerObject* messenger = messenger_.oSharedMessenger();
  std::u16string name;
  if (messenger == nullptr || !platform::Succeeded(messenger->GetMyFriendlyName(&name)) ||
      name.empty()) {
    return std::nullopt;
  }
  return name;
}

std::optional<std::u16string> FrmSendText::SigninName() {
  platform::MessengerObject* messenger = messenger_.oSharedMessenger();
  std::u16string name;
  if (messenger == nullptr || !platform::Succeeded(messenger->GetMySigninName(&name))) {
    return std::nullopt;
  }
  return name;
}

std::optional<std::u16string> FrmSendText::OrdinaryName(const std::u16string& player,
                                                        const std::u16string& musicMatchTemplate) {
  // For MUSICMATCH Jukebox the template itself separates the ordinary name
  // from the song; the others use the name marker.
  const std::u16string& separator = player == kPlayerMusicMatch ? musicMatchTemplate : kMarker;
  const auto name = FriendlyName();
  if (!name) {
    return std::nullopt;
  }
  composedFrom_ = *name;
  return PartBefore(*name, separator);
}

bool FrmSendText::ComposeNowPlaying(const std::u16string& player) {
  platform::Registry& registry = platform_.registry;
  if (!IsKnownPlayer(player)) {
    return true;  // the command last composed goes again
  }
  // A template the registry would not give is not taken as empty: the name
  // would lose its song's separator, and the restore could not cut it.
  // The MUSICMATCH Jukebox template cuts the ordinary name out and follows
  // it: one reading serves both, as nothing can change it in between.
  const char16_t* const templateKey = player == kPlayerMusicMatch     ? kCurrentTagMMJ
                                      : player == kPlayerWindowsMedia ? kCurrentTagWMP
                                                                      : kCurrentTag;
  const auto nowPlaying = ReadSettingIfAnswered(registry, templateKey);
  if (!nowPlaying) {
    return false;
  }
  const auto ordinary = OrdinaryName(player, *nowPlaying);
  if (!ordinary) {
    return false;
  }
  command_ = kNameCommandPrefix + *ordinary +
             (player == kPlayerMusicMatch ? *nowPlaying + frmWinamp_.musicMatchSong
                                          : kMarker + *nowPlaying);
  return true;
}

bool FrmSendText::ComposeOrdinary(const std::u16string& player) {
  if (!IsKnownPlayer(player)) {
    return true;  // the command last composed goes again
  }
  const auto musicMatchTemplate = player == kPlayerMusicMatch
                                      ? ReadSettingIfAnswered(platform_.registry, kCurrentTagMMJ)
                                      : std::optional<std::u16string>(u"");
  if (!musicMatchTemplate) {
    return false;
  }
  const auto ordinary = OrdinaryName(player, *musicMatchTemplate);
  if (!ordinary) {
    return false;
  }
  command_ = kNameCommandPrefix + (player == kPlayerMusicMatch
                                       ? PartBefore(*ordinary, std::u16string(1, kMusicMatchCut))
                                       : *ordinary);
  return true;
}

bool FrmSendText::WriteStatus(const char16_t* status) {
  try {
    WriteSetting(platform_.registry, kStatus, status);
    return true;
  } catch (const SettingWriteError&) {
    // A refused write is skipped like any other failing step.
    return false;
  }
}

void FrmSendText::EnsureAutoSend() {
  const auto signin = SigninName();
  if (!signin || ReadRegistryDword(platform_.registry, platform::kHkeyCurrentUser,
                                   QuickTextKey(*signin), u"AutoSend") != 0) {
    return;
  }
  std::unique_ptr<platform::ScriptShellObject> shell;
  if (!platform::Succeeded(platform_.scriptShell.CreateScriptShell(&shell)) || !shell) {
    return;
  }
  const auto again = SigninName();
  if (again) {
    shell->RegWrite(u"HKEY_CURRENT_USER\\" + QuickTextKey(*again) + u"\\AutoSend", 1, u"REG_DWORD");
  }
}

bool FrmSendText::StoreCommand() {
  const auto signin = SigninName();
  return signin &&
         WriteRegistryString(platform_.registry, platform::kHkeyCurrentUser, QuickTextKey(*signin),
                             u"Message", command_) == platform::kErrorSuccess;
}

bool FrmSendText::PressAltZero() {
  platform::Platform& platform = platform_;
  const std::vector<platform::KeyInput> keys = {
      {platform::kVkMenu, false}, {kVk0, false}, {kVk0, true}, {platform::kVkMenu, true}};
  if (platform.keyboard.SendInput(keys) != keys.size()) {
    return false;
  }
  // Let the window that has the focus take the keys: messages of this
  // thread are processed meanwhile, and the wait is bounded.
  BoundedWait wait(platform, kKeyStrokeWaitMs);
  for (;;) {
    platform.messagePump.DispatchPending();
    if ((!platform.messagePump.InputPending() && wait.Elapsed() >= kKeyStrokeSettleMs) ||
        wait.Expired()) {
      break;
    }
    wait.Pause();
  }
  // The keys just sent are the session's last input: they are not the
  // user's, and hold back no later change.
  ownInputKnown_ = platform.keyboard.GetLastInputInfo(&ownInput_);
  return true;
}

bool FrmSendText::UserIsTyping() {
  std::uint32_t lastInput = 0;
  if (!platform_.keyboard.GetLastInputInfo(&lastInput) ||
      (ownInputKnown_ && lastInput == ownInput_)) {
    return false;
  }
  return platform_.timer.GetTickCount() - lastInput < kUserIdleMs;
}

bool FrmSendText::ConversationInFront() {
  std::array<char16_t, kClassNameBuffer> className{};
  platform_.windows.GetClassName(platform_.windows.GetForegroundWindow(), className.data(),
                                 kClassNameBuffer);
  return UpToNul(std::u16string(className.data(), className.size())) == kConversationWindowClass;
}

bool FrmSendText::DeliverKeyStroke(platform::Hwnd previousForeground) {
  platform::Platform& platform = platform_;
  if (ConversationInFront()) {
    return PressAltZero();
  }

  std::unique_ptr<platform::ConversationWindow> conversation;
  if (oMessengerAPI_ != nullptr) {
    oMessengerAPI_->InstantMessage(kDebugContact, &conversation);
  }
  const auto handleOf = [&conversation](platform::Hwnd* window) {
    return conversation != nullptr && platform::Succeeded(conversation->GetHwnd(window));
  };
  BoundedWait wait(platform, kFocusWaitMs);
  for (;;) {
    platform::Hwnd window = 0;
    if (!handleOf(&window)) {
      break;
    }
    platform.windows.SetForegroundWindow(window);
    const platform::Hwnd foreground = platform.windows.GetForegroundWindow();
    if (!handleOf(&window) || foreground == window || wait.Expired()) {
      break;
    }
    wait.Pause();
  }
  // Windows may have kept the focus where the user works: the key stroke
  // goes only to a conversation window, never into the user's program.
  const bool delivered = ConversationInFront() && PressAltZero();
  platform::Hwnd window = 0;
  if (handleOf(&window)) {
    // Messenger's window belongs to another program: the hide must not
    // wait for it to answer.
    platform.windows.ShowWindowAsync(window, platform::kSwHide);
  }
  platform.windows.SetForegroundWindow(previousForeground);
  return delivered;
}

void FrmSendText::Store(Delivery& delivery) {
  const bool nowPlaying = delivery.status == kStatusPlaying;
  if (!delivery.command) {
    // A refused Player is not taken as a player the form does not know,
    // for which the last command composed would go again.
    if (!delivery.player) {
      delivery.player = ReadSettingIfAnswered(platform_.registry, kPlayer);
    }
    composedFrom_.reset();
    if (delivery.player &&
        (nowPlaying ? ComposeNowPlaying(*delivery.player) : ComposeOrdinary(*delivery.player))) {
      delivery.command = command_;
      delivery.composedFrom = composedFrom_;
    }
  }
  // A change says Playing before its quick text is stored, a restore says
  // Stopped after it; each even when the other part fails.
  bool stored = !nowPlaying || WriteStatus(delivery.status);
  if (delivery.command) {
    command_ = *delivery.command;
    EnsureAutoSend();
    stored = StoreCommand() && stored;
  }
  stored = (nowPlaying || WriteStatus(delivery.status)) && stored;
  delivery.stored = stored && delivery.command.has_value();
}

void FrmSendText::Deliver(platform::Hwnd previousForeground, Delivery delivery) {
  Store(delivery);
  if (waiting_ && delivery.stored && shown_ && shown_->SameAs(delivery)) {
    // What waited is replaced by what the contacts see already (a song
    // paused and resumed meanwhile): nothing needs sending.
    waiting_.reset();
    return;
  }
  waiting_ = std::move(delivery);
  TryWaiting(previousForeground);
}

bool FrmSendText::MayTry() {
  // Tick counts wrap; the intervals are far shorter than half the range.
  const bool due = retryInterval_ == 0 ||
                   static_cast<std::int32_t>(platform_.timer.GetTickCount() - nextAttempt_) >= 0;
  return due && !UserIsTyping();
}

void FrmSendText::TryWaiting(platform::Hwnd previousForeground) {
  // One that could not be stored is stored again on the next tick.
  if (!waiting_ || !waiting_->stored || !MayTry()) {
    return;
  }
  if (DeliverKeyStroke(previousForeground)) {
    shown_ = std::move(waiting_);
    waiting_.reset();
    retryInterval_ = 0;
    return;
  }
  // Refused: Windows flashes the taskbar button at each try, so the tries
  // come further apart, but never more than kMostRetryIntervalMs.
  retryInterval_ =
      std::min(std::max(retryInterval_ * 2, kFirstRetryIntervalMs), kMostRetryIntervalMs);
  nextAttempt_ = platform_.timer.GetTickCount() + retryInterval_;
}

void FrmSendText::DeliverWaiting() {
  if (!waiting_) {
    return;
  }
  const ScopedFlag mark(changing_);
  if (!loaded_) {
    Load();
  }
  if (!MayTry()) {
    return;
  }
  // A song of a player no longer chosen is not shown: nothing would take
  // it back, as only the chosen player's reader runs.
  if (waiting_->status == kStatusPlaying && waiting_->player) {
    const auto chosen = ReadSettingIfAnswered(platform_.registry, kPlayer);
    if (chosen && *chosen != *waiting_->player) {
      waiting_.reset();
      return;
    }
  }
  // A name the user changed meanwhile is the ordinary name from now on: the
  // command is composed again from it, not sent with the name it replaced.
  if (waiting_->composedFrom && FriendlyName() != waiting_->composedFrom) {
    waiting_->command.reset();
  }
  const platform::Hwnd previousForeground = platform_.windows.GetForegroundWindow();
  // The quick text is stored again: it is this change that goes.
  Store(*waiting_);
  TryWaiting(previousForeground);
}

void FrmSendText::Ask(Delivery delivery) {
  const ScopedFlag mark(changing_);
  if (!loaded_) {
    Load();
  }
  Deliver(platform_.windows.GetForegroundWindow(), std::move(delivery));
}

void FrmSendText::changeName(const std::optional<std::u16string>& player,
                             const std::u16string& song) {
  Ask({player, song, kStatusPlaying});
}

void FrmSendText::changeNameBack() { Ask({std::nullopt, u"", kStatusStopped}); }

void FrmSendText::changeNameBack(const std::u16string& player) {
  Ask({player, u"", kStatusStopped});
}

}  // namespace tb
