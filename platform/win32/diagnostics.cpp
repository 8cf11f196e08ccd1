#include "platform/win32/diagnostics.h"

#include <windows.h>

#include <string>

namespace tb::win32 {

void Win32Diagnostics::ReportUnexpected(const char* where, const char* what) {
  const std::string line =
      std::string("Tunebadge: unexpected error in ") + where + ": " + what + "\n";
  OutputDebugStringA(line.c_str());
}

}  // namespace tb::win32
