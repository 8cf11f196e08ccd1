// The edges where the host's calls and the poll timer enter the product
// contain every error: the host never sees one. Of what they contain, a
// refusal (tb::Refused) is a designed failed call and memory running out is
// the system's; anything else is a fault in the product, and is told to the
// diagnostics so that it does not pass unseen.
#pragma once

#include "platform/diagnostics.h"

namespace tb {

// Call inside a catch block only: reports the error being handled, when it
// is unexpected, as met at `where`. Never throws.
void ReportIfUnexpected(platform::Diagnostics& diagnostics, const char* where) noexcept;

}  // namespace tb
