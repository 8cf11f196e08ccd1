// ReplaceText with any text, search text and replacement.
#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "plugin/players/readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto texts = tb::fuzz::Texts(data, size, 3);
  const std::u16string& text = texts[0];
  const std::u16string& find = texts[1];
  const std::u16string& replacement = texts[2];
  const std::u16string result = tb::ReplaceText(text, find, replacement);
  // Each position of the first length replaces at most once.
  if (result.size() > text.size() + text.size() * replacement.size()) {
    std::abort();
  }
  if (find.size() > text.size() && result != text) {
    std::abort();
  }
  if (!find.empty() && text.find(find) == std::u16string::npos && result != text) {
    std::abort();
  }
  return 0;
}
