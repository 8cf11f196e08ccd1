// The process seam on real Windows (kernel32), and the running library's
// version resource (version.dll).
#pragma once

#include "platform/module.h"
#include "platform/processes.h"

namespace tb::win32 {

// GetModuleFileNameW with a buffer that grows as needed: the full path of
// `module` (null: the program itself), or empty when it cannot be had.
std::u16string ModulePath(void* module);

class Win32Processes final : public platform::Processes {
 public:
  bool StartProcess(const std::u16string& commandLine, int show) override;
  std::u16string GetModuleFileName() override;
};

class Win32Module final : public platform::Module {
 public:
  // `module` is the library's HMODULE (null: the program itself).
  explicit Win32Module(void* module) : module_(module) {}
  bool GetVersion(platform::ModuleVersion* version) override;

 private:
  void* module_;
};

}  // namespace tb::win32
