#include "platform/sim/environment.h"

#include <algorithm>

namespace tb::sim {

std::u16string SimEnvironment::Key(const std::u16string& name) {
  std::u16string key = name;
  std::transform(key.begin(), key.end(), key.begin(), [](char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  });
  return key;
}

std::optional<std::u16string> SimEnvironment::GetEnvironmentVariable(const std::u16string& name) {
  if (faults_.Enter("GetEnvironmentVariableW")) {
    return std::nullopt;
  }
  const auto found = variables_.find(Key(name));
  if (found == variables_.end()) {
    return std::nullopt;
  }
  return found->second;
}

void SimEnvironment::Set(const std::u16string& name, const std::optional<std::u16string>& value) {
  if (value) {
    variables_[Key(name)] = *value;
  } else {
    variables_.erase(Key(name));
  }
}

}  // namespace tb::sim
