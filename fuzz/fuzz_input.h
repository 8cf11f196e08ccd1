// Splits a fuzzer's bytes into UTF-16 texts: the input is read as UTF-16
// units (little-endian, an odd last byte dropped), and each U+0001 unit ends
// one text, so every unit, unpaired surrogates and NULs included, can reach
// every text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tb::fuzz {

inline std::vector<std::u16string> Texts(const std::uint8_t* data, std::size_t size,
                                         std::size_t count) {
  std::vector<std::u16string> texts(count);
  std::size_t current = 0;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8U));
    if (unit == u'\u0001' && current + 1 < count) {
      ++current;
    } else {
      texts[current].push_back(unit);
    }
  }
  return texts;
}

inline bool HasLineBreak(const std::u16string& text) {
  return text.find_first_of(u"\r\n") != std::u16string::npos;
}

}  // namespace tb::fuzz
