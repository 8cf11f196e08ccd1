// Registration through regsvr32, as an installer does it.
#pragma once

#include <string>

namespace tb::test {

// regsvr32's exit code for `arguments` (for example u"/s"), or -1 when it
// could not be run or did not end in time.
int RunRegsvr32(const std::u16string& arguments, const std::u16string& dllPath);

}  // namespace tb::test
