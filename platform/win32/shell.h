// The shell seam on real Windows: ShellExecuteW.
#pragma once

#include "platform/shell.h"

namespace tb::win32 {

class Win32Shell final : public platform::Shell {
 public:
  std::intptr_t ShellExecute(platform::Hwnd owner, const char16_t* verb, const std::u16string& file,
                             const char16_t* parameters, const char16_t* directory,
                             int show) override;
};

}  // namespace tb::win32
