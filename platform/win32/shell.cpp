#include "platform/win32/shell.h"

#include "platform/win32/wide.h"
#include "platform/win32/win32_api.h"

namespace tb::win32 {

std::intptr_t Win32Shell::ShellExecute(platform::Hwnd owner, const char16_t* verb,
                                       const std::u16string& file, const char16_t* parameters,
                                       const char16_t* directory, int show) {
  return reinterpret_cast<std::intptr_t>(ShellExecuteW(reinterpret_cast<HWND>(owner), Wide(verb),
                                                       Wide(file), Wide(parameters),
                                                       Wide(directory), show));
}

}  // namespace tb::win32
