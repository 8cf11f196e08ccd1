// The MsgPlus host on real Windows, as far as the plug-in relies on it: the
// quick texts of Messenger's conversation windows (class "IMWindowClass").
// Alt+0 typed into such a window (WM_SYSKEYDOWN of '0' while Alt is down)
// takes the "Message" of quick text 09 from the signed-in user's settings;
// with "AutoSend" at REG_DWORD 1 the host sends it, otherwise it only types
// it. A sent text has each tag of the form (!NAME) expanded through the
// plug-in's ParseTag, called through the _Nick vtable; a tag the plug-in does
// not answer stays as typed. A sent text that begins with "/name " and goes on
// sets the display name. The host can be slow over Alt+0, holding the
// thread meanwhile. As platform/sim/host.cpp does.
//
// The conversation windows live on the thread that made this object, which
// is the thread the plug-in runs on: in Messenger they share its UI thread.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/win32/scenario_host/window_threads.h"
#include "tests/win32/support/messenger_standin.h"
#include "tunebadge.h"

namespace tb::test {

inline constexpr char16_t kConversationClass[] = u"IMWindowClass";

class QuickTextHost {
 public:
  QuickTextHost(MessengerStandInState& messenger, WindowLedger& ledger);
  // Destroys the conversation windows.
  ~QuickTextHost();
  QuickTextHost(const QuickTextHost&) = delete;
  QuickTextHost& operator=(const QuickTextHost&) = delete;
  QuickTextHost(QuickTextHost&&) = delete;
  QuickTextHost& operator=(QuickTextHost&&) = delete;

  // Whether the window class could be registered.
  [[nodiscard]] bool Ready() const { return atom_ != 0; }

  // Opens a visible conversation window with that title, without taking the
  // focus; null when it could not.
  HWND OpenWindow(const std::u16string& title);
  // Messenger's InstantMessage: the window "<contact> - Conversation",
  // opened, or shown again when it exists; it does not take the focus.
  HWND OpenConversation(const std::u16string& contact);

  // How long the host holds the thread over each Alt+0 before it takes the
  // quick text.
  void SetDelay(DWORD ms) { delayMs_ = ms; }

  // The object whose ParseTag expands the tags; not owned, may be null.
  void SetPlugin(::_Nick* nick) { nick_ = nick; }

  // The host's quick-text key for the signed-in user.
  [[nodiscard]] std::u16string QuickTextKey() const;
  // Expands the (!NAME) tags of a text through the plug-in.
  [[nodiscard]] std::u16string ExpandTags(const std::u16string& text) const;

  [[nodiscard]] const std::vector<std::u16string>& Sent() const { return sent_; }
  [[nodiscard]] const std::vector<std::u16string>& Typed() const { return typed_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void QuickText09();

  MessengerStandInState& messenger_;
  WindowLedger& ledger_;
  ATOM atom_ = 0;
  ::_Nick* nick_ = nullptr;
  DWORD delayMs_ = 0;
  std::vector<HWND> windows_;
  std::vector<std::u16string> sent_;
  std::vector<std::u16string> typed_;
};

}  // namespace tb::test
