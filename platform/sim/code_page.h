// Windows-1252, the simulated desktop's ANSI code page: all 256 bytes map to
// a character and back, as MultiByteToWideChar maps them.
#pragma once

#include "platform/code_page.h"

namespace tb::sim {

class SimCodePage final : public platform::CodePage {
 public:
  [[nodiscard]] std::string ToAnsi(const std::u16string& text) const override;
  [[nodiscard]] std::u16string FromAnsi(const std::string& bytes) const override;
};

}  // namespace tb::sim
