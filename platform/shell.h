// The shell's "open this" (shell32 ShellExecuteW).
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace tb::platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecuteW; null verb, parameters or folder are passed as NULL.
  // Answers a value greater than 32 on success.
  virtual std::intptr_t ShellExecute(Hwnd owner, const char16_t* verb, const std::u16string& file,
                                     const char16_t* parameters, const char16_t* directory,
                                     int show) = 0;
};

}  // namespace tb::platform
