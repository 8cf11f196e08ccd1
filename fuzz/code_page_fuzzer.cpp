// The simulated ANSI code page: every byte string survives a round trip, and
// every UTF-16 text converts to one byte per unit.
#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "platform/sim/code_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tb::sim::SimCodePage codePage;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  if (codePage.ToAnsi(codePage.FromAnsi(bytes)) != bytes) {
    std::abort();
  }
  const std::u16string text = tb::fuzz::Texts(data, size, 1)[0];
  const std::string ansi = codePage.ToAnsi(text);
  if (ansi.size() != text.size()) {
    std::abort();
  }
  // What the code page holds comes back; what it lacks became '?'.
  const std::u16string back = codePage.FromAnsi(ansi);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (back[i] != text[i] && back[i] != u'?') {
      std::abort();
    }
  }
  return 0;
}
