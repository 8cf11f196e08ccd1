// The Messenger seam on real Windows: Messenger objects made with
// CoCreateInstance and called late-bound, by name, through IDispatch, as a
// script or Visual Basic client calls them.
#pragma once

#include <guiddef.h>

#include "platform/messenger.h"

namespace tb::win32 {

// CLSID_Messenger, the class the Messenger objects are made from.
inline constexpr GUID kClsidMessenger = {
    0xB69003B3, 0xC55E, 0x4B48, {0x83, 0x6C, 0xBC, 0x59, 0x46, 0xFC, 0x3B, 0x28}};

class Win32Messenger final : public platform::Messenger {
 public:
  platform::HResult CreateMessenger(std::unique_ptr<platform::MessengerObject>* object) override;
};

}  // namespace tb::win32
