// The system's ANSI code page, for text that crosses an ANSI interface.
#pragma once

#include <string>

namespace tb::platform {

class CodePage {
 public:
  virtual ~CodePage() = default;

  // WideCharToMultiByte(CP_ACP): a character the code page cannot hold
  // becomes the code page's default character.
  [[nodiscard]] virtual std::string ToAnsi(const std::u16string& text) const = 0;
  // MultiByteToWideChar(CP_ACP)
  [[nodiscard]] virtual std::u16string FromAnsi(const std::string& bytes) const = 0;
};

}  // namespace tb::platform
