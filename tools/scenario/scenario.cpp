#include "tools/scenario/scenario.h"

#include <cstdint>
#include <sstream>

namespace tb::scenario {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

// Decodes one UTF-8 character at `at`; throws on malformed input.
char32_t DecodeUtf8(const std::string& text, std::size_t* at, int line) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(*at);
  int extra = 0;
  char32_t c = 0;
  if (lead < 0x80) {
    c = lead;
  } else if ((lead & 0xE0U) == 0xC0) {
    extra = 1;
    c = lead & 0x1FU;
  } else if ((lead & 0xF0U) == 0xE0) {
    extra = 2;
    c = lead & 0x0FU;
  } else if ((lead & 0xF8U) == 0xF0) {
    extra = 3;
    c = lead & 0x07U;
  } else {
    throw ScenarioError(line, "text is not UTF-8");
  }
  for (int i = 1; i <= extra; ++i) {
    if (*at + i >= text.size() || (byte(*at + i) & 0xC0U) != 0x80) {
      throw ScenarioError(line, "text is not UTF-8");
    }
    c = (c << 6U) | (byte(*at + i) & 0x3FU);
  }
  *at += static_cast<std::size_t>(extra) + 1;
  if (c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
    throw ScenarioError(line, "text is not UTF-8");
  }
  return c;
}

void Append(std::u16string* out, char32_t c) {
  if (c >= 0x10000) {
    c -= 0x10000;
    out->push_back(static_cast<char16_t>(0xD800 + (c >> 10U)));
    out->push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FFU)));
  } else {
    out->push_back(static_cast<char16_t>(c));
  }
}

unsigned ReadHex(const std::string& text, std::size_t* at, int digits, int line) {
  unsigned value = 0;
  for (int i = 0; i < digits; ++i) {
    const int digit = *at < text.size() ? HexDigit(text[*at]) : -1;
    if (digit < 0) {
      throw ScenarioError(line, "bad escape: expected " + std::to_string(digits) + " hex digits");
    }
    value = value * 16 + static_cast<unsigned>(digit);
    ++*at;
  }
  return value;
}

Word ReadQuoted(const std::string& text, std::size_t* at, int line) {
  Word word{u"", true};
  ++*at;  // the opening quote
  for (;;) {
    if (*at >= text.size()) {
      throw ScenarioError(line, "unterminated string");
    }
    const char c = text[*at];
    if (c == '"') {
      ++*at;
      return word;
    }
    if (c != '\\') {
      Append(&word.text, DecodeUtf8(text, at, line));
      continue;
    }
    ++*at;
    const char escape = *at < text.size() ? text[*at] : '\0';
    ++*at;
    switch (escape) {
      case '"':
        word.text.push_back(u'"');
        break;
      case '\\':
        word.text.push_back(u'\\');
        break;
      case 'r':
        word.text.push_back(u'\r');
        break;
      case 'n':
        word.text.push_back(u'\n');
        break;
      case 'x':
        word.text.push_back(static_cast<char16_t>(ReadHex(text, at, 2, line)));
        break;
      case 'u':
        word.text.push_back(static_cast<char16_t>(ReadHex(text, at, 4, line)));
        break;
      default:
        throw ScenarioError(line, std::string("bad escape \\") + escape);
    }
  }
}

}  // namespace

std::vector<Step> Parse(const std::string& text) {
  std::vector<Step> steps;
  std::istringstream lines(text);
  std::string raw;
  int number = 0;
  while (std::getline(lines, raw)) {
    ++number;
    if (!raw.empty() && raw.back() == '\r') {
      raw.pop_back();
    }
    Step step;
    step.line = number;
    std::size_t at = 0;
    while (at < raw.size()) {
      const char c = raw[at];
      if (c == ' ' || c == '\t') {
        ++at;
      } else if (c == '#') {
        break;
      } else if (c == '"') {
        step.words.push_back(ReadQuoted(raw, &at, number));
      } else {
        Word word;
        while (at < raw.size() && raw[at] != ' ' && raw[at] != '\t' && raw[at] != '#') {
          if (raw[at] == '"') {
            throw ScenarioError(number, "a quote inside a word");
          }
          Append(&word.text, DecodeUtf8(raw, &at, number));
        }
        step.words.push_back(word);
      }
    }
    step.source = raw.substr(0, at);
    while (!step.source.empty() && (step.source.back() == ' ' || step.source.back() == '\t')) {
      step.source.pop_back();
    }
    if (!step.words.empty()) {
      steps.push_back(std::move(step));
    }
  }
  return steps;
}

std::u16string FromUtf8(const std::string& text) {
  std::u16string out;
  std::size_t at = 0;
  while (at < text.size()) {
    Append(&out, DecodeUtf8(text, &at, 0));
  }
  return out;
}

std::string ToUtf8(const std::u16string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10U) + (text[++i] - 0xDC00U);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6U)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3FU)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12U)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6U) & 0x3FU)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3FU)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18U)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12U) & 0x3FU)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6U) & 0x3FU)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3FU)));
    }
  }
  return out;
}

std::string Quote(const std::u16string& text) {
  static const char* const kHex = "0123456789abcdef";
  std::string out = "\"";
  for (const char16_t c : text) {
    if (c == u'"' || c == u'\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == u'\r') {
      out += "\\r";
    } else if (c == u'\n') {
      out += "\\n";
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      out += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) {
        out += kHex[(c >> static_cast<unsigned>(shift)) & 0xFU];
      }
    }
  }
  return out + "\"";
}

}  // namespace tb::scenario
