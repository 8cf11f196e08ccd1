// The script-host seam on real Windows: WScript.Shell, created by ProgID and
// called late-bound.
#pragma once

#include "platform/script_shell.h"

namespace tb::win32 {

class Win32ScriptShell final : public platform::ScriptShell {
 public:
  platform::HResult CreateScriptShell(
      std::unique_ptr<platform::ScriptShellObject>* object) override;
};

}  // namespace tb::win32
