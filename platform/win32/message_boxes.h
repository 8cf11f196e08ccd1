// The message-box seam on real Windows: MessageBoxW.
#pragma once

#include "platform/message_boxes.h"

namespace tb::win32 {

class Win32MessageBoxes final : public platform::MessageBoxes {
 public:
  int MessageBox(platform::Hwnd owner, const std::u16string& text, const std::u16string& caption,
                 std::uint32_t type) override;
};

}  // namespace tb::win32
