#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/settings.h"
#include "platform/sim/desktop.h"
#include "plugin/base/bounded_wait.h"
#include "plugin/core/nick.h"
#include "plugin/core/plugin.h"
#include "plugin/core/tag_expansion.h"
#include "plugin/namechanger/frm_send_text.h"
#include "plugin/players/mod_winamp.h"
#include "tools/sandbox/sim_dialogs.h"

namespace tb {
namespace {

std::u16string Repeat(std::size_t count) {
  std::u16string text(count, u'x');
  return text;
}

// A title as a player may show it, and what comes of it: the title as the
// Winamp and Windows Media Player readers keep it (up to its first NUL),
// as the STUDIO reader keeps it (also cut to 255 characters), the song text
// of MUSICMATCH Jukebox (its first character dropped, on one line), and the
// tag's answer (on one line, a blank for nothing).
struct TitleCase {
  const char* name;
  std::u16string title;
  std::u16string kept;
  std::u16string keptByStudio;
  std::u16string musicMatchSong;
  std::u16string tag;
};

const std::vector<TitleCase>& Cases() {
  static const std::vector<TitleCase> cases = {
      {"empty", u"", u"", u"", u"", u" "},
      {"one character", u"a", u"a", u"a", u"", u"a"},
      {"255 characters", Repeat(255), Repeat(255), Repeat(255), Repeat(254), Repeat(255)},
      {"256 characters", Repeat(256), Repeat(256), Repeat(255), Repeat(255), Repeat(256)},
      {"32767 characters", Repeat(32767), Repeat(32767), Repeat(255), Repeat(32766), Repeat(32767)},
      {"a NUL inside", std::u16string(u"Song\0Hidden", 11), u"Song", u"Song", u"ong", u"Song"},
      {"CR and LF", u"Song\r\nBand\rX\nY", u"Song\r\nBand\rX\nY", u"Song\r\nBand\rX\nY",
       u"ong Band X Y", u"Song Band X Y"},
      {"control characters", u"\u0007Bell\u001b[0m\u007f\u000f\u0085end",
       u"\u0007Bell\u001b[0m\u007f\u000f\u0085end", u"\u0007Bell\u001b[0m\u007f\u000f\u0085end",
       u"Bell\u001b[0m\u007f\u000f end", u"\u0007Bell\u001b[0m\u007f\u000f end"},
      {"unpaired surrogates", std::u16string{0xD800, u'S', 0xDC00, u'g', 0xDBFF},
       std::u16string{0xD800, u'S', 0xDC00, u'g', 0xDBFF},
       std::u16string{0xD800, u'S', 0xDC00, u'g', 0xDBFF},
       std::u16string{u'S', 0xDC00, u'g', 0xDBFF},
       std::u16string{0xD800, u'S', 0xDC00, u'g', 0xDBFF}},
      {"outside the ANSI code page", u"日本語 \u2014 Ünïcödé \U0001F3B5",
       u"日本語 \u2014 Ünïcödé \U0001F3B5", u"日本語 \u2014 Ünïcödé \U0001F3B5",
       u"本語 \u2014 Ünïcödé \U0001F3B5", u"日本語 \u2014 Ünïcödé \U0001F3B5"},
  };
  return cases;
}

enum class Reader { kWinamp, kStudio, kMusicMatch, kMediaPlayer };

struct ReaderInfo {
  Reader reader;
  const char* name;
  const char16_t* player;
  const char16_t* windowClass;  // null: Windows Media Player's registry value
  const char16_t* stopped;      // the title once the player stops
};

const ReaderInfo kReaders[] = {
    {Reader::kWinamp, "ReadWinamp", kPlayerWinamp, kWinampWindowClass, u"Winamp [Stopped]"},
    {Reader::kStudio, "ReadStudio", kPlayerWinamp, kStudioWindowClass, u"Winamp [stopped]"},
    {Reader::kMusicMatch, "ReadMusicMatch", kPlayerMusicMatch, kMusicMatchWindowClass,
     u"MUSICMATCH Jukebox"},
    {Reader::kMediaPlayer, "ReadMediaPlayer", kPlayerWindowsMedia, nullptr, u""},
};

// The plug-in loaded on a simulated desktop, the user online as "Ann".
class Desktop {
 public:
  explicit Desktop(const ReaderInfo& reader) : reader_(reader) {
    desktop.messenger.state.signinName = u"ann@example.com";
    desktop.messenger.state.friendlyName = u"Ann";
    desktop.registry.PutString(platform::kHkeyCurrentUser, kSettingsKeyPath, kPlayer,
                               reader.player);
    nick.emplace(plugin);
    desktop.host.parseTag = [this](const std::u16string& tag, std::u16string& result) {
      return nick->ParseTag(tag, nullptr, result);
    };
  }

  // The player shows `title` (Winamp's dialog shows it as the song's
  // title), and the next tick comes.
  void Play(const std::u16string& title) {
    desktop.players.SetFileInfo({title, u"Band", u"Album"});
    if (reader_.windowClass == nullptr) {
      desktop.registry.PutString(platform::kHkeyCurrentUser, kCurrentMetadataKey, u"Title", title);
    } else if (desktop.windows.Newest(reader_.windowClass) != 0) {
      desktop.windows.Get(desktop.windows.Newest(reader_.windowClass))->title = title;
    } else {
      desktop.windows.Open(reader_.windowClass, title);
    }
    desktop.timer.Advance(kPollIntervalMs);
  }

  // What the reader kept of the title.
  [[nodiscard]] std::u16string Kept() {
    switch (reader_.reader) {
      case Reader::kWinamp:
        return plugin.Readers().WinampTitle();
      case Reader::kStudio:
        return plugin.Readers().StudioTitle();
      case Reader::kMusicMatch:
        return plugin.NowPlaying().musicMatchSong;
      default:
        return plugin.Readers().MediaPlayerTitle();
    }
  }

  sim::SimDesktop desktop;
  sandbox::SimDialogs dialogs{desktop};
  Plugin plugin{desktop.Platform(), dialogs};
  std::optional<Nick> nick;

 private:
  const ReaderInfo& reader_;
};

bool OnOneLine(const std::u16string& text) {
  return text.find_first_of(u"\r\n") == std::u16string::npos;
}

// Every hostile title goes through every reader and the tags with a
// defined result: the reader keeps what the table says, a name change
// happens for a title that is a song, nothing the host sends has a second
// line, the tags answer on one line, and a tick or two after the player
// stops the user's ordinary name is back, with every key closed and the one timer running.
TEST(HostileTitles, EveryReaderAndTheTagsGiveADefinedResult) {
  for (const ReaderInfo& reader : kReaders) {
    for (const TitleCase& title : Cases()) {
      SCOPED_TRACE(std::string(reader.name) + ", " + title.name);
      Desktop world(reader);
      auto& desktop = world.desktop;
      world.Play(title.title);

      const std::u16string& expected = reader.reader == Reader::kStudio       ? title.keptByStudio
                                       : reader.reader == Reader::kMusicMatch ? title.musicMatchSong
                                                                              : title.kept;
      EXPECT_EQ(world.Kept(), expected);
      const bool song = !expected.empty();
      EXPECT_EQ(desktop.host.Sent().size(), song ? 1U : 0U) << "a name change for a song";
      if (song && reader.reader == Reader::kMusicMatch) {
        EXPECT_EQ(desktop.messenger.state.friendlyName,
                  u"Ann" + std::u16string(kDefaultCurrentTagMMJ) + title.musicMatchSong);
      }

      std::u16string answer = u"untouched";
      const char16_t* tag =
          reader.reader == Reader::kMediaPlayer ? u"(!XWMPTITLE)" : u"(!XWPTITLE)";
      EXPECT_TRUE(world.nick->ParseTag(tag, nullptr, answer));
      if (reader.reader != Reader::kStudio && reader.reader != Reader::kMusicMatch) {
        EXPECT_EQ(answer, title.tag) << "the tag answers the song on one line";
      }
      EXPECT_TRUE(OnOneLine(answer));

      // A stopped player that was never seen playing counts as a song for
      // one tick, and is restored at the next.
      world.Play(reader.stopped);
      desktop.timer.Advance(kPollIntervalMs);
      for (const auto& sent : desktop.host.Sent()) {
        EXPECT_TRUE(OnOneLine(sent)) << "a sent text with a second line";
      }
      EXPECT_EQ(desktop.messenger.state.friendlyName, u"Ann") << "the ordinary name is back";
      EXPECT_EQ(desktop.registry.OpenHandles(), 0U);
      EXPECT_EQ(desktop.timer.Count(), 1U);
    }
  }
}

// A player that stops answering while its song is shown holds a tick only
// for the bounded text reads and the restore's bounded waits; it reads as
// stopped, and the ordinary name comes back.
TEST(HostileTitles, AHungPlayerWindowHoldsATickOnlyForBoundedWaits) {
  const std::uint64_t bound =
      2 * kWindowTextTimeoutMs + kFocusWaitMs + kKeyStrokeWaitMs + 2 * kWaitSliceMs;
  for (const ReaderInfo& reader : kReaders) {
    if (reader.windowClass == nullptr || reader.reader == Reader::kStudio) {
      continue;  // no window to hang; STUDIO's title is read without a message
    }
    SCOPED_TRACE(reader.name);
    Desktop world(reader);
    auto& desktop = world.desktop;
    world.Play(u"\"Song\" by Band - MUSICMATCH Jukebox - Winamp");
    ASSERT_EQ(desktop.host.Sent().size(), 1U);
    desktop.windows.Get(desktop.windows.Newest(reader.windowClass))->hung = true;
    desktop.timer.Advance(kPollIntervalMs);
    EXPECT_LE(desktop.timer.LongestCallbackMs(), bound);
    EXPECT_GE(desktop.timer.LongestCallbackMs(), kWindowTextTimeoutMs) << "the read did wait";
    EXPECT_EQ(desktop.host.Sent().size(), 1U) << "a player that answers late is no news";
  }
}

// A window may answer WM_GETTEXTLENGTH with any upper bound; one that claims
// the most a message can answer does not make the host allocate gigabytes:
// the read is capped, and a real title under the cap still reads whole.
TEST(HostileTitles, AWindowClaimingAHugeTextLengthIsReadUpToTheCap) {
  for (const ReaderInfo& reader : kReaders) {
    if (reader.windowClass == nullptr || reader.reader == Reader::kStudio) {
      continue;  // no text length is asked for
    }
    SCOPED_TRACE(reader.name);
    Desktop world(reader);
    auto& desktop = world.desktop;
    const platform::Hwnd window = desktop.windows.Open(reader.windowClass, u"");
    desktop.windows.Get(window)->claimedTextLength = INTPTR_MAX;
    world.Play(u"\"Song\" by Band - MUSICMATCH Jukebox - Winamp");
    EXPECT_EQ(desktop.host.Sent().size(), 1U);
    EXPECT_NE(world.Kept().find(u"Song"), std::u16string::npos);

    desktop.windows.Get(window)->title = Repeat(kWindowTextMaxLength + 10);
    desktop.windows.Get(window)->claimedTextLength.reset();
    EXPECT_EQ(GetWindowString(desktop.Platform(), window).size(),
              static_cast<std::size_t>(kWindowTextMaxLength));
  }
}

// The conversation window that the name change opens belongs to Messenger,
// another program: hiding it again must not wait for Messenger to answer,
// so it is hidden with ShowWindowAsync.
TEST(HostileTitles, TheNameChangeHidesMessengersWindowWithoutWaitingForIt) {
  Desktop world(kReaders[0]);
  auto& desktop = world.desktop;
  desktop.windows.Focus(desktop.windows.Open(u"Notepad", u"Untitled - Notepad"));
  world.Play(u"Band - Song - Winamp");
  ASSERT_EQ(desktop.host.Sent().size(), 1U);
  EXPECT_EQ(desktop.faults.CountOf("ShowWindowAsync"), 1U);
  EXPECT_FALSE(desktop.windows.Get(desktop.windows.Newest(sim::kConversationClass))->visible);
  EXPECT_EQ(desktop.windows.Get(desktop.windows.Foreground())->className, u"Notepad");
}

}  // namespace
}  // namespace tb
