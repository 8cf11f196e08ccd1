// Where the product tells of an error it contained but did not expect: a
// fault in its own code that an edge (a poll tick, a call from the host) kept
// from reaching the host. The host sees nothing; whoever debugs or tests the
// product sees it here.
#pragma once

namespace tb::platform {

class Diagnostics {
 public:
  virtual ~Diagnostics() = default;
  // `where` names the edge (a tick, a host method), `what` the error's text.
  // On Windows the line goes to the debugger (OutputDebugStringA).
  virtual void ReportUnexpected(const char* where, const char* what) = 0;
};

}  // namespace tb::platform
