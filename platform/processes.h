// Starting programs, and the running program's own file (kernel32).
#pragma once

#include <string>

namespace tb::platform {

class Processes {
 public:
  virtual ~Processes() = default;
  // CreateProcessW(NULL, commandLine, ...) with STARTF_USESHOWWINDOW and the
  // given show command; the process and thread handles are closed at once,
  // since no caller waits for the programs it starts.
  virtual bool StartProcess(const std::u16string& commandLine, int show) = 0;
  // GetModuleFileNameW(NULL): the full path of the running program.
  virtual std::u16string GetModuleFileName() = 0;
};

}  // namespace tb::platform
