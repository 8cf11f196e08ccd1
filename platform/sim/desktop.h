// The simulated desktop: every outside thing the product relies on, in
// process, behind the same seam as real Windows.
#pragma once

#include "platform/platform.h"
#include "platform/sim/code_page.h"
#include "platform/sim/faults.h"
#include "platform/sim/message_pump.h"
#include "platform/sim/messenger.h"
#include "platform/sim/registry.h"
#include "platform/sim/timer.h"

namespace tb::sim {

class SimDesktop {
 public:
  SimDesktop() = default;
  SimDesktop(const SimDesktop&) = delete;
  SimDesktop& operator=(const SimDesktop&) = delete;
  SimDesktop(SimDesktop&&) = delete;
  SimDesktop& operator=(SimDesktop&&) = delete;
  ~SimDesktop() = default;

  Faults faults;
  SimCodePage codePage;
  SimRegistry registry{faults, codePage};
  SimTimer timer{faults};
  SimMessagePump messagePump{faults, timer};
  SimMessenger messenger{faults};

  platform::Platform& Platform() { return platform_; }

 private:
  platform::Platform platform_{registry, codePage, timer, messagePump, messenger};
};

}  // namespace tb::sim
