// The simulated desktop's environment variables: names compare without
// regard to case, as Windows compares them; WINDIR is set as on a fresh
// system.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/environment.h"
#include "platform/sim/faults.h"

namespace tb::sim {

class SimEnvironment final : public platform::Environment {
 public:
  explicit SimEnvironment(Faults& faults) : faults_(faults) {}

  std::optional<std::u16string> GetEnvironmentVariable(const std::u16string& name) override;

  // The outside world's hand: nothing removes the variable.
  void Set(const std::u16string& name, const std::optional<std::u16string>& value);

 private:
  static std::u16string Key(const std::u16string& name);

  Faults& faults_;
  std::map<std::u16string, std::u16string> variables_{{u"WINDIR", u"C:\\Windows"}};
};

}  // namespace tb::sim
