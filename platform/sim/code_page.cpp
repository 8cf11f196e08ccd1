#include "platform/sim/code_page.h"

#include <array>
#include <cstdint>

namespace tb::sim {
namespace {

// Bytes 0x80 to 0x9F; the five bytes that Windows-1252 leaves undefined map
// to the C1 control of the same number, as Windows maps them.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char kDefaultChar = '?';

char16_t ByteToChar(std::uint8_t byte) {
  if (byte >= 0x80 && byte <= 0x9F) {
    return kHighControls.at(byte - 0x80U);
  }
  return static_cast<char16_t>(byte);
}

char CharToByte(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
    return static_cast<char>(c);
  }
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls.at(i) == c) {
      return static_cast<char>(0x80 + i);
    }
  }
  return kDefaultChar;
}

}  // namespace

std::string SimCodePage::ToAnsi(const std::u16string& text) const {
  std::string bytes;
  bytes.reserve(text.size());
  for (const char16_t c : text) {
    bytes.push_back(CharToByte(c));
  }
  return bytes;
}

std::u16string SimCodePage::FromAnsi(const std::string& bytes) const {
  std::u16string text;
  text.reserve(bytes.size());
  for (const char b : bytes) {
    text.push_back(ByteToChar(static_cast<std::uint8_t>(b)));
  }
  return text;
}

}  // namespace tb::sim
