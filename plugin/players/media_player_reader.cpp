#include "common/current_metadata.h"
#include "common/mod_reg.h"
#include "common/settings.h"
#include "plugin/players/mod_timer.h"

namespace tb {

void ModTimer::ReadMediaPlayer() {
  mediaPlayerTitle_ = ReadRegistryString(platform_.registry, platform::kHkeyCurrentUser,
                                         kCurrentMetadataKey, kMetadataTitle);
  if (ReadSetting(platform_.registry, kStatus) == kStatusPlaying && mediaPlayerTitle_.empty()) {
    frmSendText_.changeNameBack(kPlayerWindowsMedia);
    mediaPlayerLastTitle_.clear();
    return;
  }
  if (mediaPlayerTitle_ != mediaPlayerLastTitle_) {
    mediaPlayerLastTitle_ = mediaPlayerTitle_;
    frmSendText_.changeName(kPlayerWindowsMedia, mediaPlayerTitle_);
  }
}

}  // namespace tb
