// The byte forms of registry values: REG_SZ data is UTF-16, little-endian,
// normally with a terminating NUL; REG_DWORD data is four little-endian bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tb::platform {

// `text` as REG_SZ data, terminating NUL included.
inline std::vector<std::uint8_t> StringData(const std::u16string& text) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve((text.size() + 1) * 2);
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFFU));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8U));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

// The text of REG_SZ data up to its first NUL, or all of it when it holds
// none; an odd last byte is not a whole UTF-16 unit and is dropped.
inline std::u16string TextOfStringData(const std::uint8_t* bytes, std::size_t size) {
  std::u16string text;
  text.reserve(size / 2);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8U));
    if (unit == u'\0') {
      break;
    }
    text.push_back(unit);
  }
  return text;
}

inline std::vector<std::uint8_t> DwordData(std::uint32_t number) {
  return {static_cast<std::uint8_t>(number & 0xFFU),
          static_cast<std::uint8_t>((number >> 8U) & 0xFFU),
          static_cast<std::uint8_t>((number >> 16U) & 0xFFU),
          static_cast<std::uint8_t>((number >> 24U) & 0xFFU)};
}

inline std::uint32_t NumberOfDwordData(const std::uint8_t* bytes) {
  return bytes[0] | (bytes[1] << 8U) | (bytes[2] << 16U) |
         (static_cast<std::uint32_t>(bytes[3]) << 24U);
}

}  // namespace tb::platform
