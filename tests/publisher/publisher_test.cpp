#include <gtest/gtest.h>

#include "common/current_metadata.h"
#include "common/publisher_identity.h"
#include "platform/sim/desktop.h"
#include "publisher/publisher.h"
#include "publisher/registration.h"

namespace tb::publisher {
namespace {

using platform::kHkeyCurrentUser;

const sim::Song kClocks{u"Clocks", u"Coldplay", u"A Rush of Blood to the Head", u"05:07"};
const sim::Song kScientist{u"The Scientist", u"Coldplay", u"A Rush of Blood to the Head", u"05:09"};

// Windows Media Player on the simulated desktop, loading the publisher.
struct Publishing : ::testing::Test {
  Publishing() {
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

TEST_F(Publishing, TheNextSongOfAPlaylistReplacesTheLastWithoutARemovalBetween) {
  player.Play(kClocks);
  const std::size_t removals = desktop.faults.CountOf("RegDeleteValueW");
  player.Play(kScientist);
  EXPECT_EQ(Values(), Of(kScientist));
  EXPECT_EQ(desktop.faults.CountOf("RegDeleteValueW"), removals)
      << "media ended and transitioning remove nothing";
}

TEST_F(Publishing, TheTitleIsWrittenLastAndRemovedFirst) {
  player.Play(kClocks);
  player.Stop();
  desktop.faults.FailCall("RegSetValueExW", 4);
  player.Play(kScientist);
  EXPECT_EQ(Values(), (std::vector<std::u16string>{u"absent", u"Coldplay",
                                                   u"A Rush of Blood to the Head", u"05:09"}))
      << "a reader never sees a new title before the rest of its song";
  player.Stop();
  player.Play(kClocks);
  ASSERT_EQ(Values(), Of(kClocks));
  // The first removal refused and the rest made: the value removed first
  // must be the title, so that a reader never takes a song without the
  // rest, and a title that cannot be removed is emptied, which reads as
  // stopped instead of as the song playing on.
  desktop.faults.FailCall("RegDeleteValueW");
  player.Stop();
  EXPECT_EQ(Values(), (std::vector<std::u16string>{u"", u"absent", u"absent", u"absent"}));
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
