// The host's expansion of the tags in a text it sends: each tag of the form
// (!NAME) (letters, digits and underscores) is offered to the plug-in, and
// one it does not answer stays as typed. Shared by the host stand-ins of the
// simulated desktop and of the Wine test host.
#pragma once

#include <functional>
#include <string>

namespace tb::sim {

using TagHandler = std::function<bool(const std::u16string& tag, std::u16string& result)>;

inline std::u16string ExpandHostTags(const std::u16string& text, const TagHandler& parseTag) {
  const auto isTagChar = [](char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'_';
  };
  std::u16string out;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t open = text.find(u"(!", at);
    if (open == std::u16string::npos) {
      break;
    }
    std::size_t end = open + 2;
    while (end < text.size() && isTagChar(text[end])) {
      ++end;
    }
    out += text.substr(at, open - at);
    if (end < text.size() && text[end] == u')' && end > open + 2) {
      const std::u16string tag = text.substr(open, end - open + 1);
      std::u16string result;
      out += (parseTag && parseTag(tag, result)) ? result : tag;
      at = end + 1;
    } else {
      out += u"(!";
      at = open + 2;
    }
  }
  out += text.substr(std::min(at, text.size()));
  return out;
}

}  // namespace tb::sim
