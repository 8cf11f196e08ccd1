// GUIDs from their registry text form ("{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"),
// at compile time, so the COM layer uses the identity of com_identity.h and
// nothing else.
#pragma once

#include <guiddef.h>

#include <cstddef>
#include <stdexcept>

#include "common/com_identity.h"

namespace tb::win32 {

namespace guid_detail {

constexpr unsigned HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') {
    return static_cast<unsigned>(c - u'0');
  }
  if (c >= u'a' && c <= u'f') {
    return static_cast<unsigned>(c - u'a' + 10);
  }
  if (c >= u'A' && c <= u'F') {
    return static_cast<unsigned>(c - u'A' + 10);
  }
  throw std::invalid_argument("not a hexadecimal digit");
}

constexpr unsigned long Hex(const char16_t* text, std::size_t digits) {
  unsigned long value = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    value = (value << 4U) | HexDigit(text[i]);
  }
  return value;
}

}  // namespace guid_detail

// Text in any other shape does not compile.
consteval GUID GuidFromText(const char16_t (&text)[39]) {
  using guid_detail::Hex;
  if (text[0] != u'{' || text[9] != u'-' || text[14] != u'-' || text[19] != u'-' ||
      text[24] != u'-' || text[37] != u'}') {
    throw std::invalid_argument("not a GUID in braces");
  }
  GUID guid{};
  guid.Data1 = Hex(text + 1, 8);
  guid.Data2 = static_cast<unsigned short>(Hex(text + 10, 4));
  guid.Data3 = static_cast<unsigned short>(Hex(text + 15, 4));
  guid.Data4[0] = static_cast<unsigned char>(Hex(text + 20, 2));
  guid.Data4[1] = static_cast<unsigned char>(Hex(text + 22, 2));
  for (std::size_t i = 0; i < 6; ++i) {
    guid.Data4[2 + i] = static_cast<unsigned char>(Hex(text + 25 + 2 * i, 2));
  }
  return guid;
}

inline constexpr GUID kClsidNickGuid = GuidFromText(kClsidNick);
inline constexpr GUID kIidNickGuid = GuidFromText(kIidNick);
inline constexpr GUID kLibIdGuid = GuidFromText(kLibId);

// The type library's version, as kTypeLibVersion writes it.
inline constexpr unsigned short kTypeLibMajor = 1;
inline constexpr unsigned short kTypeLibMinor = 0;

}  // namespace tb::win32
