// UTF-16 strings as the wide-character pointers that Win32 takes. On Windows
// wchar_t is a UTF-16 unit, so this is a reinterpretation, not a conversion.
#pragma once

#include <string>

namespace tb::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide characters are UTF-16 units");

inline const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

inline wchar_t* Wide(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }

}  // namespace tb::win32
