// Programs run to their end: regsvr32, as an installer runs it, and others.
#pragma once

#include <string>

namespace tb::test {

// Runs a program and waits for it at most `boundMs`: its exit code, or -1
// when it could not be run or did not end in time (then it is ended).
int RunProgram(const std::u16string& commandLine, unsigned long boundMs);

// regsvr32's exit code for `arguments` (for example u"/s"), or -1 when it
// could not be run or did not end in time, three times.
int RunRegsvr32(const std::u16string& arguments, const std::u16string& dllPath);

}  // namespace tb::test
