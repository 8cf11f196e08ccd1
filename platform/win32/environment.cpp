#include "platform/win32/environment.h"

#include "platform/win32/wide.h"
#include "platform/win32/win32_api.h"

namespace tb::win32 {

std::optional<std::u16string> Win32Environment::GetEnvironmentVariable(const std::u16string& name) {
  // The first call answers the size that the value needs, NUL included; the
  // value may change in between, so the second call's answer is checked too.
  std::u16string value;
  for (int attempt = 0; attempt < 4; ++attempt) {
    const auto size = static_cast<DWORD>(value.size());
    const DWORD length =
        GetEnvironmentVariableW(Wide(name), size == 0 ? nullptr : Wide(value.data()), size);
    if (length == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
        return std::nullopt;
      }
      return std::u16string();
    }
    if (length < size) {
      value.resize(length);
      return value;
    }
    value.assign(length, u'\0');
  }
  return std::nullopt;
}

}  // namespace tb::win32
