#include "platform/win32/code_page.h"

#include "platform/win32/win32_api.h"

#include "platform/win32/wide.h"

namespace tb::win32 {

std::string Win32CodePage::ToAnsi(const std::u16string& text) const {
  if (text.empty()) {
    return {};
  }
  const int length = static_cast<int>(text.size());
  const int needed =
      WideCharToMultiByte(CP_ACP, 0, Wide(text), length, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
  if (needed > 0) {
    WideCharToMultiByte(CP_ACP, 0, Wide(text), length, bytes.data(), needed, nullptr, nullptr);
  }
  return bytes;
}

std::u16string Win32CodePage::FromAnsi(const std::string& bytes) const {
  if (bytes.empty()) {
    return {};
  }
  const int length = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  std::u16string text(static_cast<std::size_t>(needed > 0 ? needed : 0), u'\0');
  if (needed > 0) {
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, Wide(text.data()), needed);
  }
  return text;
}

}  // namespace tb::win32
