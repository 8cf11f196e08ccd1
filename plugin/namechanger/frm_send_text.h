// The hidden name-changer form: loaded once at start-up, never shown, never
// unloaded. Its text boxes are the name changer's working storage.
#pragma once

#include <memory>
#include <string>

#include "platform/messenger.h"
#include "plugin/namechanger/messenger_api.h"

namespace tb {

class FrmSendText {
 public:
  explicit FrmSendText(MessengerApi& messengerApi) : messengerApi_(messengerApi) {}

  // The load handler: makes the form's own Messenger object. When none can
  // be made the form still loads, and the steps that need it fail.
  void Form_Load();

  // oMessengerAPI, or null when the form could not make one.
  [[nodiscard]] platform::MessengerObject* oMessengerAPI() const { return oMessengerAPI_.get(); }

  // The command text last composed ("/name " and the new name).
  std::u16string Text2;
  // The ordinary-name part of the friendly name (Windows Media Player).
  std::u16string splitWMP;
  // The foreground window's class name.
  std::u16string Text3;

 private:
  MessengerApi& messengerApi_;
  std::unique_ptr<platform::MessengerObject> oMessengerAPI_;
};

}  // namespace tb
