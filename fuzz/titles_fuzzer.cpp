// Every reader with any title: the "Winamp v1.x" and "STUDIO" windows,
// MUSICMATCH Jukebox's window and Windows Media Player's metadata, each with
// a fuzzed text and dialog fields, over a few ticks. Nothing escapes a tick
// nor is contained in one unexpectedly, no key stays open, and nothing the host sends has a second
// line. And any Winamp title, scrolled as Winamp scrolls it, reads as one ordinary title at every
// turn.
#include <cstdlib>

#include "common/settings.h"
#include "fuzz/fuzz_input.h"
#include "platform/sim/desktop.h"
#include "plugin/core/nick.h"
#include "plugin/core/plugin.h"
#include "plugin/core/tag_expansion.h"
#include "plugin/players/scrolled_title.h"
#include "tools/sandbox/sim_dialogs.h"

namespace {

void Play(const std::u16string& player, const std::vector<std::u16string>& texts) {
  tb::sim::SimDesktop desktop;
  desktop.messenger.state.signinName = u"ann@example.com";
  desktop.messenger.state.friendlyName = u"Ann";
  desktop.registry.PutString(tb::platform::kHkeyCurrentUser, tb::kSettingsKeyPath, tb::kPlayer,
                             player);
  tb::sandbox::SimDialogs dialogs(desktop);
  tb::Plugin plugin(desktop.Platform(), dialogs);
  tb::Nick nick(plugin);
  desktop.host.parseTag = [&](const std::u16string& tag, std::u16string& result) {
    return nick.ParseTag(tag, nullptr, result);
  };
  desktop.players.SetFileInfo({texts[1], texts[2], texts[3]});
  for (const auto& title : {texts[0], std::u16string(u"x [Stopped]"), texts[4]}) {
    desktop.windows.Close(desktop.windows.Newest(u"Winamp v1.x"));
    desktop.windows.Close(desktop.windows.Newest(u"STUDIO"));
    desktop.windows.Close(desktop.windows.Newest(u"mmjb:mainwnd"));
    desktop.windows.Open(player == u"Winamp" && title.size() % 2 == 0 ? u"STUDIO" : u"Winamp v1.x",
                         title);
    desktop.windows.Open(u"mmjb:mainwnd", title);
    desktop.registry.PutString(tb::platform::kHkeyCurrentUser, tb::kCurrentMetadataKey, u"Title",
                               title);
    desktop.timer.Advance(1000);
  }
  for (const auto& sent : desktop.host.Sent()) {
    if (tb::fuzz::HasLineBreak(sent)) {
      std::abort();
    }
  }
  if (desktop.registry.OpenHandles() != 0 || desktop.timer.Count() != 1 ||
      desktop.diagnostics.Count() != 0) {
    std::abort();
  }
}

void Scroll(const std::u16string& song) {
  const std::u16string ordinary = song + u" - Winamp";
  const std::u16string ring = tb::sim::ScrolledTitle(ordinary, 0);
  const std::u16string twice = ring + ring;
  std::size_t separators = 0;
  for (std::size_t at = 0; at < ring.size(); ++at) {
    separators += twice.compare(at, 5, tb::kScrollSeparator) == 0 ? 1 : 0;
  }
  if (separators > tb::kMostScrollCuts) {
    return;  // taken as it stands, by design
  }
  const std::u16string first = tb::OrdinaryTitle(ring);
  for (std::size_t turn = 1; turn < ring.size(); ++turn) {
    if (tb::OrdinaryTitle(tb::sim::ScrolledTitle(ordinary, turn)) != first) {
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto texts = tb::fuzz::Texts(data, size, 5);
  Scroll(texts[0]);
  for (const auto* player : {u"Winamp", u"MusicMatch", u"WindowsMedia"}) {
    Play(player, texts);
  }
  return 0;
}
