#include "platform/sim/host.h"

#include <cctype>

#include "platform/registry_data.h"
#include "platform/sim/host_tags.h"

namespace tb::sim {
namespace {

constexpr std::uint16_t kVk0 = 0x30;
constexpr char16_t kNameCommand[] = u"/name ";

}  // namespace

SimHost::SimHost(SimWindows& windows, SimTimer& timer, SimRegistry& registry,
                 MessengerState& messenger)
    : windows_(windows), timer_(timer), registry_(registry), messenger_(messenger) {
  windows_.OnKey(kConversationClass, [this](platform::Hwnd window, const platform::KeyInput& key) {
    OnKey(window, key);
  });
}

std::u16string SimHost::QuickTextKey() const {
  return u"Software\\Pelorin\\MsgPlus2\\" + messenger_.signinName +
         u"\\Preferences\\QuickTexts\\QuickText09";
}

void SimHost::OnKey(platform::Hwnd window, const platform::KeyInput& key) {
  // The window keeps whether Alt is down (SimWindow::altDown) before its
  // procedure sees the key.
  const SimWindow* target = windows_.Get(window);
  if (key.virtualKey == kVk0 && !key.keyUp && target != nullptr && target->altDown) {
    timer_.Pass(delayMs);
    QuickText09();
  }
}

void SimHost::QuickText09() {
  const auto message = registry_.GetString(platform::kHkeyCurrentUser, QuickTextKey(), u"Message");
  if (!message) {
    return;
  }
  const auto autoSend = registry_.Get(platform::kHkeyCurrentUser, QuickTextKey(), u"AutoSend");
  const bool send = autoSend && autoSend->type == platform::kRegDword &&
                    autoSend->data.size() == 4 &&
                    platform::NumberOfDwordData(autoSend->data.data()) == 1;
  if (!send) {
    typed_.push_back(*message);
    return;
  }
  const std::u16string text = ExpandTags(*message);
  sent_.push_back(text);
  ++sentCount_;
  if (text.rfind(kNameCommand, 0) == 0 &&
      text.size() > std::char_traits<char16_t>::length(kNameCommand)) {
    messenger_.friendlyName = text.substr(std::char_traits<char16_t>::length(kNameCommand));
  }
}

std::u16string SimHost::ExpandTags(const std::u16string& text) const {
  return ExpandHostTags(text, parseTag);
}

}  // namespace tb::sim
