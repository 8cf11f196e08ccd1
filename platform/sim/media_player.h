// The simulated desktop's Windows Media Player: a core with a current media
// item and a play state, which sends its events to the sinks advised on its
// connection point, loads its background plug-in when it starts and takes
// its core away from it when it closes. Each media reference it hands out
// is counted until released. Every seam call can be made to fail through
// Faults.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/media_player.h"
#include "platform/sim/faults.h"

namespace tb::sim {

struct Song {
  std::u16string title;
  std::u16string author;
  std::u16string album;
  std::u16string durationString;
  bool operator==(const Song&) const = default;
};

class SimMediaPlayer final : public platform::MediaPlayerCore {
 public:
  explicit SimMediaPlayer(Faults& faults) : faults_(faults) {}
  // A player still running when the desktop goes away is closed.
  ~SimMediaPlayer() override { Close(); }
  SimMediaPlayer(const SimMediaPlayer&) = delete;
  SimMediaPlayer& operator=(const SimMediaPlayer&) = delete;
  SimMediaPlayer(SimMediaPlayer&&) = delete;
  SimMediaPlayer& operator=(SimMediaPlayer&&) = delete;

  // How the player makes its plug-in when it starts (the class its list of
  // UI plug-ins names); without one it loads none.
  std::function<std::unique_ptr<platform::MediaPlayerPlugin>()> makePlugin;

  // The user. Play starts the player when it is not running, moves to
  // `song` when another is current (as a playlist does: media ended,
  // transitioning, the new item) and plays it. Pause acts while playing,
  // Stop while playing or paused. Close ends the player: its plug-in loses
  // the core and is released, without any event on the way.
  void Play(const Song& song);
  void Pause();
  void Stop();
  void Close();

  [[nodiscard]] bool Running() const { return running_; }
  [[nodiscard]] std::int32_t State() const { return state_; }
  // Media references handed out and not released.
  [[nodiscard]] std::size_t MediaHeld() const { return mediaHeld_; }
  [[nodiscard]] std::size_t Sinks() const { return sinks_.size(); }

  platform::HResult GetPlayState(std::int32_t* state) override;
  platform::HResult GetCurrentMedia(std::unique_ptr<platform::Media>* media) override;
  platform::HResult Advise(std::shared_ptr<platform::MediaPlayerEvents> sink,
                           std::uint32_t* cookie) override;
  platform::HResult Unadvise(std::uint32_t cookie) override;

 private:
  void SetState(std::int32_t state);
  // Calls `event` on every sink advised when it is sent.
  void Send(const std::function<void(platform::MediaPlayerEvents&)>& event);

  Faults& faults_;
  bool running_ = false;
  std::optional<Song> current_;
  std::int32_t state_ = platform::kPlayStateUndefined;
  std::unique_ptr<platform::MediaPlayerPlugin> plugin_;
  std::map<std::uint32_t, std::shared_ptr<platform::MediaPlayerEvents>> sinks_;
  std::uint32_t nextCookie_ = 1;
  std::size_t mediaHeld_ = 0;
};

}  // namespace tb::sim
