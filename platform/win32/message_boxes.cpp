#include "platform/win32/message_boxes.h"

#include "platform/win32/win32_api.h"

#include "platform/win32/wide.h"

namespace tb::win32 {

int Win32MessageBoxes::MessageBox(platform::Hwnd owner, const std::u16string& text,
                                  const std::u16string& caption, std::uint32_t type) {
  return MessageBoxW(reinterpret_cast<HWND>(owner), Wide(text), Wide(caption), type);
}

}  // namespace tb::win32
