// ParseTag with any tag, and any song texts in Winamp's fields and Windows
// Media Player's metadata: it answers true exactly for the seven tags, with
// a text on one line, leaves sResult alone otherwise, and closes every key.
#include <array>
#include <cstdlib>

#include "common/text.h"
#include "fuzz/fuzz_input.h"
#include "platform/sim/desktop.h"
#include "plugin/core/nick.h"
#include "plugin/core/plugin.h"
#include "plugin/core/tag_expansion.h"
#include "tools/sandbox/sim_dialogs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto texts = tb::fuzz::Texts(data, size, 4);
  tb::sim::SimDesktop desktop;
  tb::sandbox::SimDialogs dialogs(desktop);
  tb::Plugin plugin(desktop.Platform(), dialogs);
  tb::Nick nick(plugin);
  plugin.NowPlaying().songTitle = texts[1];
  desktop.registry.PutString(tb::platform::kHkeyCurrentUser, tb::kCurrentMetadataKey, u"Title",
                             texts[2]);
  desktop.registry.PutString(tb::platform::kHkeyCurrentUser, tb::kCurrentMetadataKey, u"Author",
                             texts[3]);

  static const std::array<std::u16string, 7> kTags = {
      u"(!XWMPTITLE)", u"(!XWMPARTIST)", u"(!XWMPALBUM)", u"(!XWMPDURATION)",
      u"(!XWPTITLE)",  u"(!XWPARTIST)",  u"(!XWPALBUM)"};
  bool known = false;
  for (const auto& tag : kTags) {
    known = known || tb::EqualsIgnoringCase(texts[0], tag);
  }
  const std::u16string passed = u"as passed";
  std::u16string result = passed;
  const bool answered = nick.ParseTag(texts[0], nullptr, result);
  if (answered != known || (!answered && result != passed) ||
      (answered && (result.empty() || tb::fuzz::HasLineBreak(result))) ||
      desktop.registry.OpenHandles() != 0) {
    std::abort();
  }
  return 0;
}
