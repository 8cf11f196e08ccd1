// The diagnostics seam on real Windows: a line for the debugger
// (kernel32 OutputDebugStringA).
#pragma once

#include "platform/diagnostics.h"

namespace tb::win32 {

class Win32Diagnostics final : public platform::Diagnostics {
 public:
  void ReportUnexpected(const char* where, const char* what) override;
};

}  // namespace tb::win32
