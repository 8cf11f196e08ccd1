#include "platform/sim/processes.h"

namespace tb::sim {

bool SimProcesses::StartProcess(const std::u16string& commandLine, int show) {
  if (faults_.Enter("CreateProcessW")) {
    return false;
  }
  // The program is the quoted first word, or everything up to the first
  // blank, as CreateProcess reads a command line without an application name.
  std::u16string program;
  if (!commandLine.empty() && commandLine.front() == u'"') {
    const std::size_t end = commandLine.find(u'"', 1);
    program = commandLine.substr(1, end == std::u16string::npos ? end : end - 1);
  } else {
    program = commandLine.substr(0, commandLine.find(u' '));
  }
  // A name without an extension gets ".exe", as CreateProcess gives it.
  const std::size_t slash = program.find_last_of(u"\\/");
  if (program.find(u'.', slash == std::u16string::npos ? 0 : slash) == std::u16string::npos) {
    program += u".exe";
  }
  if (!files_.Get(program) && !files_.Get(u"C:\\Windows\\system32\\" + program)) {
    return false;
  }
  started_.push_back(Started{commandLine, show});
  return true;
}

std::u16string SimProcesses::GetModuleFileName() {
  if (faults_.Enter("GetModuleFileNameW")) {
    return {};
  }
  return modulePath;
}

bool SimModule::GetVersion(platform::ModuleVersion* out) {
  if (faults_.Enter("GetFileVersionInfoW")) {
    return false;
  }
  *out = version;
  return true;
}

}  // namespace tb::sim
