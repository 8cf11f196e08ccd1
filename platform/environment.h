// Environment variables (kernel32 GetEnvironmentVariableW).
#pragma once

#include <optional>
#include <string>

namespace tb::platform {

class Environment {
 public:
  virtual ~Environment() = default;
  // The variable's value, or nothing when it is not set.
  virtual std::optional<std::u16string> GetEnvironmentVariable(const std::u16string& name) = 0;
};

}  // namespace tb::platform
