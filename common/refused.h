// What the outside world may refuse a call of the plug-in: the registry a
// setting, the system a dialog. The call ends there and the host gets a
// failed call, as designed; any other error that reaches the host's edge is
// a fault.
#pragma once

#include <stdexcept>

namespace tb {

class Refused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tb
