// Message boxes (user32 MessageBoxW).
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace tb::platform {

inline constexpr std::uint32_t kMbOk = 0x0;
inline constexpr std::uint32_t kMbYesNo = 0x4;
inline constexpr std::uint32_t kMbIconStop = 0x10;
inline constexpr std::uint32_t kMbIconInformation = 0x40;

inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // MessageBoxW: answers the button pressed, or 0 when no box could be shown.
  virtual int MessageBox(Hwnd owner, const std::u16string& text, const std::u16string& caption,
                         std::uint32_t type) = 0;
};

}  // namespace tb::platform
