#include <array>

#include "common/settings.h"
#include "common/text.h"
#include "plugin/core/plugin.h"
#include "plugin/players/mod_winamp.h"
#include "plugin/players/readers.h"

namespace tb {

// The title buffer holds 255 characters and the NUL.
inline constexpr int kStudioTitleBuffer = 256;

void ReadStudio(Plugin& plugin) {
  platform::Platform& platform = plugin.Platform();
  ModTimer& state = plugin.modTimer();
  FrmWinamp& store = plugin.frmWinamp();

  const platform::Hwnd window = platform.windows.FindWindow(kStudioWindowClass, nullptr);
  if (IsPresent(window)) {
    std::array<char16_t, kStudioTitleBuffer> buffer{};
    platform.windows.GetWindowText(window, buffer.data(), kStudioTitleBuffer);
    store.Label1 = UpToNul(std::u16string(buffer.data(), buffer.size()));
  }
  const std::u16string title = store.Label1;
  if (IsIdleTitle(title, u"stopped", u"paused") && state.StudioChanged == kChanged) {
    state.StudioChanged = kNotChanged;
    plugin.frmSendText().changeNameBack(kPlayerWinamp);
    state.StudioLastTitle = store.Label1;
    return;
  }
  if (store.Label1 == state.StudioLastTitle) {
    return;
  }
  state.StudioLastTitle = store.Label1;
  plugin.frmSendText().changeName(kPlayerWinamp);
  state.StudioChanged = kChanged;
}

}  // namespace tb
