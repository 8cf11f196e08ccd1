// The MsgPlus host of the simulated desktop, as far as the plug-in relies on
// it: Alt+0 typed into a Messenger conversation window (class
// "IMWindowClass") takes the "Message" of quick text 09 from the signed-in
// user's settings; with "AutoSend" at 1 the host sends it, otherwise it only
// types it into the window. A sent text has each tag of the form (!NAME)
// expanded through the plug-in; a tag the plug-in does not answer stays as
// typed. A sent text that begins with "/name " sets the display name. The
// host can be slow over Alt+0 (Messenger taking its time over the command),
// holding the thread meanwhile.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/sim/host_tags.h"
#include "platform/sim/messenger.h"
#include "platform/sim/registry.h"
#include "platform/sim/windows.h"

namespace tb::sim {

inline constexpr char16_t kConversationClass[] = u"IMWindowClass";

class SimHost {
 public:
  SimHost(SimWindows& windows, SimTimer& timer, SimRegistry& registry, MessengerState& messenger);

  // How long the host holds the thread over each Alt+0 before it takes the
  // quick text.
  std::uint32_t delayMs = 0;

  // The plug-in's tag handler, as the host calls it.
  TagHandler parseTag;

  // The host's quick-text key for the signed-in user.
  [[nodiscard]] std::u16string QuickTextKey() const;
  // Expands the (!NAME) tags of a text through parseTag.
  [[nodiscard]] std::u16string ExpandTags(const std::u16string& text) const;

  [[nodiscard]] const std::vector<std::u16string>& Sent() const { return sent_; }
  [[nodiscard]] const std::vector<std::u16string>& Typed() const { return typed_; }
  // How many texts have been sent in all, records forgotten or not.
  [[nodiscard]] std::size_t SentCount() const { return sentCount_; }
  // Drops the records of what was sent and typed (a long run keeps none).
  void ForgetRecords() {
    sent_.clear();
    sent_.shrink_to_fit();
    typed_.clear();
    typed_.shrink_to_fit();
  }

 private:
  void OnKey(platform::Hwnd window, const platform::KeyInput& key);
  void QuickText09();

  SimWindows& windows_;
  SimTimer& timer_;
  SimRegistry& registry_;
  MessengerState& messenger_;
  std::vector<std::u16string> sent_;
  std::size_t sentCount_ = 0;
  std::vector<std::u16string> typed_;
};

}  // namespace tb::sim
