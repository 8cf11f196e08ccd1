// Windows Script Host's shell object, created by ProgID and called late-bound.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/types.h"

namespace tb::platform {

class ScriptShellObject {
 public:
  virtual ~ScriptShellObject() = default;
  // WshShell.RegWrite(name, value, type), value passed as a 16-bit integer.
  virtual HResult RegWrite(const std::u16string& name, std::int16_t value,
                           const std::u16string& type) = 0;
};

class ScriptShell {
 public:
  virtual ~ScriptShell() = default;
  // CreateObject("WScript.Shell")
  virtual HResult CreateScriptShell(std::unique_ptr<ScriptShellObject>* object) = 0;
};

}  // namespace tb::platform
