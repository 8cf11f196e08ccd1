// The poll tick and the player readers, with what they remember between
// ticks: whether the display name shows a song each reader found, and the
// title each last acted on. One instance per load of the library; the state
// starts empty and is never persisted.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "plugin/base/frm_winamp.h"
#include "plugin/namechanger/frm_send_text.h"
#include "plugin/namechanger/messenger_api.h"

namespace tb {

// Whether the display name shows a song that a reader found. The name
// shows nothing of a reader's until that reader first changes it.
enum class Changed : bool { kNo, kYes };

// Messenger's MISTATUS codes for the signed-in states in which the tick goes
// on: online, busy, be right back, idle, away, on the phone, out to lunch.
bool IsSignedInStatus(std::int32_t status);

class ModTimer {
 public:
  ModTimer(platform::Platform& platform, MessengerApi& messenger, FrmSendText& frmSendText,
           FrmWinamp& frmWinamp)
      : platform_(platform),
        messenger_(messenger),
        frmSendText_(frmSendText),
        frmWinamp_(frmWinamp) {}

  // The poll timer's callback. No failure of any step leaves it: a failed
  // Messenger call or a thrown error ends the tick where it happened.
  void PollTimerProc() noexcept;

  // The "Winamp v1.x" window: markers "Stopped" and "Paused"; song fields
  // from the file-information dialog.
  void ReadWinamp();
  // The "STUDIO" window: markers "stopped" and "paused"; the title alone,
  // cut to 255 characters.
  void ReadStudio();
  // MUSICMATCH Jukebox's main window: its title, cleaned into "SONG - ARTIST".
  void ReadMusicMatch();
  // Windows Media Player: the "Title" that its publishing plug-in keeps in
  // the registry; the setting Status serves as the changed flag.
  void ReadMediaPlayer();

  // The title each reader last read (for Windows Media Player, the registry
  // value).
  [[nodiscard]] const std::u16string& WinampTitle() const { return winampTitle_; }
  [[nodiscard]] const std::u16string& StudioTitle() const { return studioTitle_; }
  [[nodiscard]] const std::u16string& MediaPlayerTitle() const { return mediaPlayerTitle_; }

 private:
  void Tick();
  void WinampTick();

  platform::Platform& platform_;
  MessengerApi& messenger_;
  FrmSendText& frmSendText_;
  FrmWinamp& frmWinamp_;

  Changed winampChanged_ = Changed::kNo;
  Changed studioChanged_ = Changed::kNo;
  Changed musicMatchChanged_ = Changed::kNo;
  std::u16string winampLastTitle_;
  std::u16string studioLastTitle_;
  std::u16string musicMatchLastTitle_;
  std::u16string mediaPlayerLastTitle_;
  std::u16string winampTitle_;
  // A STUDIO window that is gone by the time its title is read leaves the
  // title read before; before the first read that is this placeholder, which
  // counts as a song.
  std::u16string studioTitle_ = u"Label1";
  std::u16string mediaPlayerTitle_;
  // Whether a tick runs: the waits inside it let the thread process
  // messages, and the poll timer's next tick comes due in them.
  bool ticking_ = false;
};

}  // namespace tb
