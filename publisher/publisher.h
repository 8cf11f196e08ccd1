// The publishing plug-in: a background plug-in of Windows Media Player that
// keeps the song the player plays in the registry, per user, where the
// plug-in's Windows Media Player reader and tags read it (current_metadata.h).
//
// While a song plays it holds "Title", "Author", "Album" and "durationString"
// of the current media; when playback pauses or stops, or the player takes
// its core away, the values are removed. The moment between two songs
// (media ended, transitioning) removes nothing: the next song's values
// replace the last. Nothing here blocks or fails back into the player: a
// refused registry call or a failed call of the core leaves the values as
// far as they got.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/media_player.h"
#include "platform/registry.h"

namespace tb::publisher {

// The attribute of a media item that "Album" is written from.
inline constexpr char16_t kAlbumAttribute[] = u"WM/AlbumTitle";
inline constexpr char16_t kAuthorAttribute[] = u"Author";

class Publisher final : public platform::MediaPlayerPlugin {
 public:
  explicit Publisher(platform::Registry& registry) : registry_(registry) {}
  // Takes the core away, as SetCore(null) does.
  ~Publisher() override;
  Publisher(const Publisher&) = delete;
  Publisher& operator=(const Publisher&) = delete;
  Publisher(Publisher&&) = delete;
  Publisher& operator=(Publisher&&) = delete;

  // With a core: connects to its events and publishes the song it plays,
  // if any, or removes what an earlier run left. With null: removes the
  // values and disconnects. The core must outlive its use here.
  platform::HResult SetCore(platform::MediaPlayerCore* core) override;

  // Whether the core's events reach this publisher.
  [[nodiscard]] bool Connected() const { return events_ != nullptr; }

 private:
  // The sink advised on the core: it passes the events on until detached,
  // and may outlive the publisher in a core that failed to let it go.
  class Events;

  void OnPlayStateChange(std::int32_t state);
  void OnItemChange();
  void Disconnect();
  // Writes the current media's four values, the title last, so that a
  // reader that sees the new title finds the rest already in place.
  void Publish();
  // Removes the four values, the title first.
  void Withdraw();
  [[nodiscard]] bool Playing();

  platform::Registry& registry_;
  platform::MediaPlayerCore* core_ = nullptr;
  std::shared_ptr<Events> events_;
  std::uint32_t cookie_ = 0;
};

}  // namespace tb::publisher
