#include "platform/win32/processes.h"

#include <vector>

#include "platform/win32/wide.h"
#include "platform/win32/win32_api.h"

namespace tb::win32 {

std::u16string ModulePath(void* module) {
  std::u16string path(MAX_PATH, u'\0');
  for (int attempt = 0; attempt < 8; ++attempt) {
    const auto size = static_cast<DWORD>(path.size());
    const DWORD length = GetModuleFileNameW(static_cast<HMODULE>(module), Wide(path.data()), size);
    if (length == 0) {
      return {};
    }
    if (length < size) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
  return {};
}

bool Win32Processes::StartProcess(const std::u16string& commandLine, int show) {
  std::u16string line = commandLine;  // CreateProcessW may write to it
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, Wide(line.data()), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process) == FALSE) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

std::u16string Win32Processes::GetModuleFileName() { return ModulePath(nullptr); }

bool Win32Module::GetVersion(platform::ModuleVersion* version) {
  const std::u16string path = ModulePath(module_);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(Wide(path), &ignored);
  if (size == 0) {
    return false;
  }
  std::vector<std::uint8_t> block(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (GetFileVersionInfoW(Wide(path), 0, size, block.data()) == FALSE ||
      VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) == FALSE ||
      info == nullptr || length < sizeof(VS_FIXEDFILEINFO)) {
    return false;
  }
  version->major = HIWORD(info->dwFileVersionMS);
  version->minor = LOWORD(info->dwFileVersionMS);
  version->build = HIWORD(info->dwFileVersionLS);
  version->revision = LOWORD(info->dwFileVersionLS);
  return true;
}

}  // namespace tb::win32
