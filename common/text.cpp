#include "common/text.h"

#include <algorithm>

namespace tb {
namespace {

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

}  // namespace

std::u16string PartBefore(const std::u16string& text, const std::u16string& separator) {
  if (separator.empty()) {
    return text;
  }
  return text.substr(0, text.find(separator));
}

bool EqualsIgnoringCase(const std::u16string& a, const std::u16string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
}

std::u16string LowerCase(const std::u16string& text) {
  std::u16string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
  return lower;
}

std::u16string SingleLine(const std::u16string& text) {
  std::u16string line;
  line.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n' || c == u'\u2028' || c == u'\u2029' || c == u'\u0085') {
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
        ++i;
      }
      line.push_back(u' ');
    } else {
      line.push_back(c);
    }
  }
  return line;
}

std::u16string UpToNul(const std::u16string& text) { return text.substr(0, text.find(u'\0')); }

std::string Narrow(const std::u16string& text) {
  std::string narrow;
  for (const char16_t unit : text) {
    narrow.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
  }
  return narrow;
}

}  // namespace tb
