// MSN Messenger's automation objects, created by CLSID and called late-bound.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/types.h"

namespace tb::platform {

// An object that InstantMessage answered, used as a conversation window.
class ConversationWindow {
 public:
  virtual ~ConversationWindow() = default;
  // IMessengerWindow::HWND
  virtual HResult GetHwnd(Hwnd* window) = 0;
};

// One object of class Messenger.
class MessengerObject {
 public:
  virtual ~MessengerObject() = default;
  // IMessenger::MyStatus (an MISTATUS code)
  virtual HResult GetMyStatus(std::int32_t* status) = 0;
  // IMessenger::MyFriendlyName
  virtual HResult GetMyFriendlyName(std::u16string* name) = 0;
  // IMessenger::MySigninName
  virtual HResult GetMySigninName(std::u16string* name) = 0;
  // IMessenger::InstantMessage: *window stays null when the call answers no
  // object.
  virtual HResult InstantMessage(const std::u16string& contact,
                                 std::unique_ptr<ConversationWindow>* window) = 0;
};

class Messenger {
 public:
  virtual ~Messenger() = default;
  // CoCreateInstance of CLSID {B69003B3-C55E-4B48-836C-BC5946FC3B28}
  virtual HResult CreateMessenger(std::unique_ptr<MessengerObject>* object) = 0;
};

}  // namespace tb::platform
