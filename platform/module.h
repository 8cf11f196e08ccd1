// The running library's own file (kernel32 and version.dll).
#pragma once

#include <cstdint>

namespace tb::platform {

struct ModuleVersion {
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::uint16_t build = 0;
  std::uint16_t revision = 0;
};

class Module {
 public:
  virtual ~Module() = default;
  // The file version of the library's version resource (GetFileVersionInfoW
  // and VerQueryValueW); false when it cannot be read.
  virtual bool GetVersion(ModuleVersion* version) = 0;
};

}  // namespace tb::platform
