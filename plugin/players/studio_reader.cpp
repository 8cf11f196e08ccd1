#include <array>

#include "common/settings.h"
#include "common/text.h"
#include "plugin/players/mod_timer.h"
#include "plugin/players/mod_winamp.h"
#include "plugin/players/readers.h"

namespace tb {

// The title buffer holds 255 characters and the NUL.
inline constexpr int kStudioTitleBuffer = 256;

void ModTimer::ReadStudio() {
  const platform::Hwnd window = platform_.windows.FindWindow(kStudioWindowClass, nullptr);
  if (IsPresent(window)) {
    std::array<char16_t, kStudioTitleBuffer> buffer{};
    platform_.windows.GetWindowText(window, buffer.data(), kStudioTitleBuffer);
    studioTitle_ = UpToNul(std::u16string(buffer.data(), buffer.size()));
  }
  if (IsIdleTitle(studioTitle_, u"stopped", u"paused") && studioChanged_ == Changed::kYes) {
    studioChanged_ = Changed::kNo;
    frmSendText_.changeNameBack(kPlayerWinamp);
    studioLastTitle_ = studioTitle_;
    return;
  }
  if (studioTitle_ == studioLastTitle_) {
    return;
  }
  studioLastTitle_ = studioTitle_;
  frmSendText_.changeName(kPlayerWinamp, studioTitle_);
  studioChanged_ = Changed::kYes;
}

}  // namespace tb
