#include "plugin/core/plugin.h"

#include "common/settings.h"

namespace tb {

Plugin::Plugin(platform::Platform& platform, Dialogs& dialogs)
    : platform_(platform),
      dialogs_(dialogs),
      messengerApi_(platform.messenger),
      frmSendText_(platform, messengerApi_, frmWinamp_),
      modTimer_(platform, messengerApi_, frmSendText_, frmWinamp_) {}

void Plugin::EnsureStarted() {
  if (!started_) {
    PluginStartup();
    started_ = true;
  }
}

void Plugin::PluginStartup() {
  WriteDefaultSettings(platform_.registry);
  StartPollTimer();
  frmSendText_.Load();
}

void Plugin::StartPollTimer() {
  if (pollTimerId_ != 0) {
    return;
  }
  pollTimerId_ = platform_.timer.SetTimer(kPollIntervalMs, [this] { modTimer_.PollTimerProc(); });
}

}  // namespace tb
