// The Messenger seam on real Windows: Messenger objects made with
// CoCreateInstance and called late-bound, by name, through IDispatch, as a
// script or Visual Basic client calls them.
#pragma once

#include "platform/messenger.h"

namespace tb::win32 {

class Win32Messenger final : public platform::Messenger {
 public:
  platform::HResult CreateMessenger(std::unique_ptr<platform::MessengerObject>* object) override;
};

}  // namespace tb::win32
