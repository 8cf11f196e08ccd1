#include "platform/sim/shell.h"

namespace tb::sim {

std::intptr_t SimShell::ShellExecute(platform::Hwnd /*owner*/, const char16_t* verb,
                                     const std::u16string& file, const char16_t* /*parameters*/,
                                     const char16_t* directory, int show) {
  if (faults_.Enter("ShellExecuteW")) {
    return 2;  // SE_ERR_FNF
  }
  opened_.push_back(
      ShellOpen{verb == nullptr ? u"" : verb, file, directory == nullptr ? u"" : directory, show});
  return 42;
}

}  // namespace tb::sim
