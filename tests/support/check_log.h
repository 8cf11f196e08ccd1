// Checks that run the same way under GoogleTest on the simulated desktop and
// in a plain Windows program under Wine: each names the behaviour it pins and,
// when it fails, shows what was expected and what came.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace tb::test {

// Printable form of a UTF-16 text: ASCII as is, everything else as \uXXXX.
inline std::string Show(const std::u16string& text) {
  std::ostringstream out;
  out << '"';
  for (const char16_t unit : text) {
    if (unit >= 0x20 && unit < 0x7F && unit != u'\\' && unit != u'"') {
      out << static_cast<char>(unit);
    } else {
      static const char* const kHex = "0123456789abcdef";
      out << "\\u" << kHex[(unit >> 12U) & 0xFU] << kHex[(unit >> 8U) & 0xFU]
          << kHex[(unit >> 4U) & 0xFU] << kHex[unit & 0xFU];
    }
  }
  out << '"';
  return out.str();
}

inline std::string Show(const std::string& bytes) {
  std::ostringstream out;
  out << '"';
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '\\' && c != '"') {
      out << c;
    } else {
      static const char* const kHex = "0123456789abcdef";
      out << "\\x" << kHex[byte >> 4U] << kHex[byte & 0xFU];
    }
  }
  out << '"';
  return out.str();
}

template <typename T>
requires std::is_arithmetic_v<T> std::string Show(T value) { return std::to_string(value); }

class CheckLog {
 public:
  void Ok(bool holds, const std::string& what) {
    ++checks_;
    if (!holds) {
      failures_.push_back(what);
    }
  }

  template <typename A, typename E>
  void Equal(const A& actual, const E& expected, const std::string& what) {
    ++checks_;
    if (!(actual == expected)) {
      failures_.push_back(what + ": expected " + Show(expected) + ", got " + Show(actual));
    }
  }

  [[nodiscard]] int Checks() const { return checks_; }
  [[nodiscard]] const std::vector<std::string>& Failures() const { return failures_; }
  [[nodiscard]] std::string Report() const {
    std::string report;
    for (const auto& failure : failures_) {
      report += "  " + failure + "\n";
    }
    return report;
  }

 private:
  int checks_ = 0;
  std::vector<std::string> failures_;
};

}  // namespace tb::test
