#include "platform/sim/desktop.h"

namespace tb::sim {

std::u16string ConversationTitle(const std::u16string& contact) {
  return contact + u" - Conversation";
}

SimDesktop::SimDesktop() {
  // Messenger opens a conversation window for a contact, or shows the one
  // it already has; it does not take the focus.
  messenger.state.openConversation = [this](const std::u16string& contact) {
    const std::u16string title = ConversationTitle(contact);
    const platform::Hwnd existing = windows.Lookup(kConversationClass, title);
    if (existing != 0) {
      windows.Get(existing)->visible = true;
      return existing;
    }
    return windows.Open(kConversationClass, title);
  };
}

}  // namespace tb::sim
