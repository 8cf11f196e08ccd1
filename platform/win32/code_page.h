// The code-page seam on real Windows: the system's ANSI code page.
#pragma once

#include "platform/code_page.h"

namespace tb::win32 {

class Win32CodePage final : public platform::CodePage {
 public:
  [[nodiscard]] std::string ToAnsi(const std::u16string& text) const override;
  [[nodiscard]] std::u16string FromAnsi(const std::string& bytes) const override;
};

}  // namespace tb::win32
