// The plug-in's process-wide state and its start-up: one instance per load
// of the library, driven only by the host's calls and the poll timer.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "plugin/base/frm_winamp.h"
#include "plugin/dialogs/dialogs.h"
#include "plugin/namechanger/frm_send_text.h"
#include "plugin/namechanger/messenger_api.h"
#include "plugin/players/mod_timer.h"

namespace tb {

inline constexpr std::uint32_t kPollIntervalMs = 1000;

class Plugin {
 public:
  Plugin(platform::Platform& platform, Dialogs& dialogs);
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;
  Plugin(Plugin&&) = delete;
  Plugin& operator=(Plugin&&) = delete;
  ~Plugin() = default;

  // Runs PluginStartup the first time it is called in this load. When
  // start-up fails (a default the registry refuses to store) the failure
  // reaches the caller and the next call tries again.
  void EnsureStarted();
  [[nodiscard]] bool Started() const { return started_; }

  // Writes the missing defaults, starts the poll timer and loads frmSendText.
  void PluginStartup();
  // Starts the one poll timer; does nothing when it already runs.
  void StartPollTimer();
  // What SetTimer answered for the poll timer; 0 while there is none.
  [[nodiscard]] std::uintptr_t PollTimerId() const { return pollTimerId_; }

  platform::Platform& Platform() { return platform_; }
  Dialogs& DialogPort() { return dialogs_; }
  // The hidden name-changer form; start-up loads it.
  FrmSendText& SendTextForm() { return frmSendText_; }
  // The now-playing store.
  FrmWinamp& NowPlaying() { return frmWinamp_; }
  // The poll tick and the player readers.
  ModTimer& Readers() { return modTimer_; }

 private:
  platform::Platform& platform_;
  Dialogs& dialogs_;
  MessengerApi messengerApi_;
  FrmWinamp frmWinamp_;
  FrmSendText frmSendText_;
  ModTimer modTimer_;
  std::uintptr_t pollTimerId_ = 0;
  bool started_ = false;
};

}  // namespace tb
