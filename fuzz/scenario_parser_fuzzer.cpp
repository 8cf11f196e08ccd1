// The scenario parser with any text: it answers steps or a ScenarioError,
// and what it reads as text converts to UTF-8 and back unchanged.
#include <cstdlib>

#include "tools/scenario/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    for (const auto& step : tb::scenario::Parse(text)) {
      if (step.words.empty() || step.line < 1) {
        std::abort();
      }
      for (const auto& word : step.words) {
        const std::u16string& value = word.text;
        bool paired = true;
        for (std::size_t i = 0; i < value.size(); ++i) {
          const char16_t unit = value[i];
          if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < value.size() && value[i + 1] >= 0xDC00 &&
              value[i + 1] < 0xE000) {
            ++i;
          } else if (unit >= 0xD800 && unit < 0xE000) {
            paired = false;
          }
        }
        if (paired && tb::scenario::FromUtf8(tb::scenario::ToUtf8(value)) != value) {
          std::abort();
        }
      }
    }
  } catch (const tb::scenario::ScenarioError&) {
    // A line it cannot read is refused with its number.
  }
  return 0;
}
