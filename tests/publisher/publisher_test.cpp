#include <gtest/gtest.h>

#include "platform/sim/desktop.h"
#include "plugin/core/current_metadata.h"
#include "publisher/identity.h"
#include "publisher/publisher.h"
#include "publisher/registration.h"

namespace tb::publisher {
namespace {

using platform::kHkeyCurrentUser;

const sim::Song kClocks{u"Clocks", u"Coldplay", u"A Rush of Blood to the Head", u"05:07"};
const sim::Song kScientist{u"The Scientist", u"Coldplay", u"A Rush of Blood to the Head", u"05:09"};

// Windows Media Player on the simulated desktop, loading the publisher.
struct Wmp {
  Wmp() {
    player.makePlugin = [this] { return std::make_unique<Publisher>(desktop.registry); };
  }
  [[nodiscard]] std::optional<std::u16string> Value(const char16_t* name) const {
    return desktop.registry.GetString(kHkeyCurrentUser, kCurrentMetadataKey, name);
  }
  // The four values, "absent" for each that is not there.
  [[nodiscard]] std::vector<std::u16string> Values() const {
    std::vector<std::u16string> values;
    for (const char16_t* name :
         {kMetadataTitle, kMetadataAuthor, kMetadataAlbum, kMetadataDuration}) {
      values.push_back(Value(name).value_or(u"absent"));
    }
    return values;
  }
  static std::vector<std::u16string> Of(const sim::Song& song) {
    return {song.title, song.author, song.album, song.durationString};
  }
  const std::vector<std::u16string> kAbsent{u"absent", u"absent", u"absent", u"absent"};

  sim::SimDesktop desktop;
  sim::SimMediaPlayer& player = desktop.mediaPlayer;
};

struct Publishing : ::testing::Test, Wmp {};

TEST_F(Publishing, PlayingWritesPausingAndStoppingRemoveAndClosingLetsEverythingGo) {
  player.Play(kClocks);
  EXPECT_EQ(Values(), Of(kClocks));
  player.Pause();
  EXPECT_EQ(Values(), kAbsent);
  player.Play(kClocks);
  EXPECT_EQ(Values(), Of(kClocks)) << "playing on after a pause";
  player.Stop();
  EXPECT_EQ(Values(), kAbsent);
  player.Play(kScientist);
  player.Close();
  EXPECT_EQ(Values(), kAbsent) << "the player closing takes the song away";
  EXPECT_EQ(player.Sinks(), 0U);
  EXPECT_EQ(player.MediaHeld(), 0U);
  EXPECT_EQ(desktop.registry.OpenHandles(), 0U);
}

TEST_F(Publishing, TheNextSongOfAPlaylistReplacesTheLastWithoutARemovalBetween) {
  player.Play(kClocks);
  const std::size_t removals = desktop.faults.CountOf("RegDeleteValueW");
  player.Play(kScientist);
  EXPECT_EQ(Values(), Of(kScientist));
  EXPECT_EQ(desktop.faults.CountOf("RegDeleteValueW"), removals)
      << "media ended and transitioning remove nothing";
}

TEST_F(Publishing, EachValueIsOneLineAndTextOutsideTheCodePageIsKeptWhole) {
  player.Play({u"Line one\r\nline two\nthree", u"Bj\u00f6rk \u2013 \u65e5\u672c \U0001F3B5",
               u"Album\rB", u"04:00"});
  EXPECT_EQ(Value(kMetadataTitle), u"Line one line two three");
  EXPECT_EQ(Value(kMetadataAuthor), u"Bj\u00f6rk \u2013 \u65e5\u672c \U0001F3B5");
  EXPECT_EQ(Value(kMetadataAlbum), u"Album B");
}

TEST_F(Publishing, TheTitleIsWrittenLastAndRemovedFirst) {
  player.Play(kClocks);
  player.Stop();
  desktop.faults.FailCall("RegSetValueExW", 4);
  player.Play(kScientist);
  EXPECT_EQ(Values(), (std::vector<std::u16string>{u"absent", u"Coldplay",
                                                   u"A Rush of Blood to the Head", u"05:09"}))
      << "a reader never sees a new title before the rest of its song";
  desktop.faults.FailCall("RegDeleteValueW", 2);
  player.Stop();
  EXPECT_EQ(Values()[0], u"absent");
}

TEST_F(Publishing, APlayerAlreadyPlayingIsPublishedAndLeftoversOfAnEarlierRunRemoved) {
  player.makePlugin = nullptr;
  player.Play(kClocks);
  Publisher late(desktop.registry);
  late.SetCore(&player);
  EXPECT_EQ(Values(), Of(kClocks));
  late.SetCore(nullptr);

  player.Stop();
  desktop.registry.PutString(kHkeyCurrentUser, kCurrentMetadataKey, kMetadataTitle, u"Old");
  Publisher fresh(desktop.registry);
  fresh.SetCore(&player);
  EXPECT_EQ(Values(), kAbsent) << "a title left by a player that ended without cleaning up";
}

TEST_F(Publishing, WithoutItsEventsThePublisherPublishesNothingItCouldNotTakeBack) {
  player.makePlugin = nullptr;
  player.Play(kClocks);
  Publisher publisher(desktop.registry);
  desktop.faults.FailCall("IConnectionPoint::Advise");
  publisher.SetCore(&player);
  EXPECT_FALSE(publisher.Connected());
  EXPECT_EQ(Values(), kAbsent);
}

TEST_F(Publishing, ASinkTheCoreKeepsAfterARefusedUnadviseReachesNothing) {
  player.makePlugin = nullptr;
  {
    Publisher publisher(desktop.registry);
    publisher.SetCore(&player);
    desktop.faults.FailCall("IConnectionPoint::Unadvise");
  }
  ASSERT_EQ(player.Sinks(), 1U);
  player.Play(kClocks);  // to a publisher that is gone
  EXPECT_EQ(Values(), kAbsent);
}

// A session in which each seam call fails in turn, one per run: nothing is
// thrown at the player, no key or media reference is left, and once the
// player closes nothing of the song stays behind unless the removal itself
// was refused.
TEST_F(Publishing, EveryCallFailingInTurnIsSurvived) {
  const auto session = [](sim::SimMediaPlayer& wmp) {
    wmp.Play(kClocks);
    wmp.Pause();
    wmp.Play(kClocks);
    wmp.Play(kScientist);
    wmp.Stop();
    wmp.Play(kClocks);
    wmp.Close();
  };
  session(player);
  const std::size_t calls = desktop.faults.CallCount();
  ASSERT_GT(calls, 50U);
  for (std::size_t k = 1; k <= calls; ++k) {
    Wmp run;
    run.desktop.faults.FailOverall(k);
    ASSERT_NO_THROW(session(run.player)) << "call " << k;
    EXPECT_EQ(run.desktop.faults.Injected(), 1U) << "call " << k;
    EXPECT_EQ(run.desktop.registry.OpenHandles(), 0U) << "call " << k;
    EXPECT_EQ(run.player.MediaHeld(), 0U) << "call " << k;
    EXPECT_EQ(run.player.Sinks(), 0U) << "call " << k;
  }
}

TEST(PublisherRegistration, WritesTheClassAndRemovesItAgain) {
  sim::SimDesktop desktop;
  auto& registry = desktop.registry;
  const std::u16string server = std::u16string(u"CLSID\\") + kClsidPublisher + u"\\InprocServer32";
  ASSERT_EQ(RegisterPublisher(registry, u"C:\\Plugins\\blogging.dll"), platform::kErrorSuccess);
  EXPECT_EQ(registry.GetString(platform::kHkeyClassesRoot, server, u""),
            u"C:\\Plugins\\blogging.dll");
  EXPECT_EQ(registry.GetString(platform::kHkeyClassesRoot, server, u"ThreadingModel"),
            u"Apartment");
  EXPECT_EQ(UnregisterPublisher(registry), platform::kErrorSuccess);
  EXPECT_FALSE(registry.KeyExists(platform::kHkeyClassesRoot,
                                  u"CLSID\\{51EB565B-89F1-4EB8-881F-CC1ACEA33E7C}"));
  EXPECT_EQ(UnregisterPublisher(registry), platform::kErrorSuccess) << "already gone is no failure";
  desktop.faults.FailCall("RegSetValueExW", 2);
  EXPECT_NE(RegisterPublisher(registry, u"C:\\x.dll"), platform::kErrorSuccess);
  EXPECT_EQ(registry.OpenHandles(), 0U);
}

}  // namespace
}  // namespace tb::publisher
