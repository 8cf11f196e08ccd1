// The plug-in's Messenger objects. oSharedMessenger is plug-in-wide and made
// on first use; frmSendText makes its own (oMessengerAPI) when it loads.
#pragma once

#include <memory>

#include "platform/messenger.h"

namespace tb {

class MessengerApi {
 public:
  explicit MessengerApi(platform::Messenger& messenger) : messenger_(messenger) {}

  // oSharedMessenger, made the first time it is asked for. Null while it
  // cannot be made; the next use tries again.
  platform::MessengerObject* oSharedMessenger();

  // A new Messenger object, or null when none can be made.
  std::unique_ptr<platform::MessengerObject> NewMessenger();

 private:
  platform::Messenger& messenger_;
  std::unique_ptr<platform::MessengerObject> shared_;
};

}  // namespace tb
