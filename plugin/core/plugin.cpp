#include "plugin/core/plugin.h"

#include "common/settings.h"
#include "plugin/players/poll_timer.h"

namespace tb {

Plugin::Plugin(platform::Platform& platform, Dialogs& dialogs)
    : platform_(platform), dialogs_(dialogs), messengerApi_(platform.messenger) {}

void Plugin::EnsureStarted() {
  if (!started_) {
    PluginStartup();
    started_ = true;
  }
}

void Plugin::PluginStartup() {
  WriteDefaultSettings(platform_.registry);
  StartPollTimer();
  frmSendText();
}

void Plugin::StartPollTimer() {
  if (pollTimerId_ != 0) {
    return;
  }
  pollTimerId_ = platform_.timer.SetTimer(kPollIntervalMs, [this] { PollTimerProc(*this); });
}

FrmSendText& Plugin::frmSendText() {
  if (!frmSendText_) {
    frmSendText_.emplace(*this);
    frmSendText_->Form_Load();
  }
  return *frmSendText_;
}

}  // namespace tb
