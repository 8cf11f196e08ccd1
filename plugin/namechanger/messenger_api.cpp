#include "plugin/namechanger/messenger_api.h"

namespace tb {

platform::MessengerObject* MessengerApi::oSharedMessenger() {
  if (!shared_) {
    shared_ = NewMessenger();
  }
  return shared_.get();
}

std::unique_ptr<platform::MessengerObject> MessengerApi::NewMessenger() {
  std::unique_ptr<platform::MessengerObject> object;
  if (!platform::Succeeded(messenger_.CreateMessenger(&object))) {
    object.reset();
  }
  return object;
}

}  // namespace tb
