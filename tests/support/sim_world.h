// A simulated registry with its code page and fault plan, for unit tests.
#pragma once

#include "platform/sim/code_page.h"
#include "platform/sim/faults.h"
#include "platform/sim/registry.h"

namespace tb::test {

struct SimWorld {
  sim::Faults faults;
  sim::SimCodePage codePage;
  sim::SimRegistry registry{faults, codePage};
};

}  // namespace tb::test
