// The environment seam on real Windows (kernel32).
#pragma once

#include "platform/environment.h"

namespace tb::win32 {

class Win32Environment final : public platform::Environment {
 public:
  std::optional<std::u16string> GetEnvironmentVariable(const std::u16string& name) override;
};

}  // namespace tb::win32
