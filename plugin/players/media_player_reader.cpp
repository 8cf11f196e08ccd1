#include "common/mod_reg.h"
#include "common/settings.h"
#include "plugin/core/plugin.h"
#include "plugin/core/tag_expansion.h"
#include "plugin/players/readers.h"

namespace tb {

void ReadMediaPlayer(Plugin& plugin) {
  platform::Platform& platform = plugin.Platform();
  ModTimer& state = plugin.modTimer();
  FrmWinamp& store = plugin.frmWinamp();

  store.Label3 = ReadRegistryString(platform.registry, platform::kHkeyCurrentUser,
                                    kCurrentMetadataKey, kMetadataTitle);
  if (ReadSetting(platform.registry, kStatus) == kStatusPlaying && store.Label3.empty()) {
    plugin.frmSendText().changeNameBack(kPlayerWindowsMedia);
    state.MediaPlayerLastTitle.clear();
    return;
  }
  if (store.Label3 != state.MediaPlayerLastTitle) {
    state.MediaPlayerLastTitle = store.Label3;
    plugin.frmSendText().changeName(kPlayerWindowsMedia);
  }
}

}  // namespace tb
