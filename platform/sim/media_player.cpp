#include "platform/sim/media_player.h"

#include <vector>

namespace tb::sim {
namespace {

using platform::HResult;
using platform::kEFail;
using platform::kSOk;

constexpr HResult kEPointer = static_cast<HResult>(0x80004003U);
constexpr HResult kConnectENoConnection = static_cast<HResult>(0x80040200U);

// One reference to a media item: it describes the song it was taken for.
class SimMedia final : public platform::Media {
 public:
  SimMedia(Faults& faults, Song song, std::size_t& held)
      : faults_(faults), song_(std::move(song)), held_(held) {
    ++held_;
  }
  ~SimMedia() override { --held_; }
  SimMedia(const SimMedia&) = delete;
  SimMedia& operator=(const SimMedia&) = delete;
  SimMedia(SimMedia&&) = delete;
  SimMedia& operator=(SimMedia&&) = delete;

  HResult GetName(std::u16string* name) override {
    return Answer("IWMPMedia::get_name", song_.title, name);
  }
  HResult GetItemInfo(const std::u16string& attribute, std::u16string* value) override {
    // "Album" is the alias of "WM/AlbumTitle". An attribute the item lacks
    // is the empty text.
    const std::u16string* text = nullptr;
    if (attribute == u"Title") {
      text = &song_.title;
    } else if (attribute == u"Author") {
      text = &song_.author;
    } else if (attribute == u"WM/AlbumTitle" || attribute == u"Album") {
      text = &song_.album;
    }
    return Answer("IWMPMedia::getItemInfo", text != nullptr ? *text : std::u16string(), value);
  }
  HResult GetDurationString(std::u16string* text) override {
    return Answer("IWMPMedia::get_durationString", song_.durationString, text);
  }

 private:
  HResult Answer(const char* call, const std::u16string& text, std::u16string* out) {
    if (faults_.Enter(call)) {
      return kEFail;
    }
    if (out == nullptr) {
      return kEPointer;
    }
    *out = text;
    return kSOk;
  }

  Faults& faults_;
  Song song_;
  std::size_t& held_;
};

}  // namespace

void SimMediaPlayer::Play(const Song& song) {
  if (!running_) {
    running_ = true;
    if (makePlugin) {
      plugin_ = makePlugin();
      if (plugin_ != nullptr) {
        plugin_->SetCore(this);
      }
    }
  }
  if (current_ != song) {
    if (state_ == platform::kPlayStatePlaying) {
      SetState(platform::kPlayStateMediaEnded);
    }
    SetState(platform::kPlayStateTransitioning);
    current_ = song;
    Send([](platform::MediaPlayerEvents& sink) { sink.CurrentItemChange(); });
    Send([](platform::MediaPlayerEvents& sink) { sink.MediaChange(); });
  }
  SetState(platform::kPlayStatePlaying);
}

void SimMediaPlayer::Pause() {
  if (state_ == platform::kPlayStatePlaying) {
    SetState(platform::kPlayStatePaused);
  }
}

void SimMediaPlayer::Stop() {
  if (state_ == platform::kPlayStatePlaying || state_ == platform::kPlayStatePaused) {
    SetState(platform::kPlayStateStopped);
  }
}

void SimMediaPlayer::Close() {
  if (!running_) {
    return;
  }
  if (plugin_ != nullptr) {
    plugin_->SetCore(nullptr);
    plugin_.reset();
  }
  // The connection point lets its sinks go with the player.
  sinks_.clear();
  current_.reset();
  state_ = platform::kPlayStateUndefined;
  running_ = false;
}

void SimMediaPlayer::SetState(std::int32_t state) {
  if (state_ == state) {
    return;
  }
  state_ = state;
  Send([state](platform::MediaPlayerEvents& sink) { sink.PlayStateChange(state); });
}

void SimMediaPlayer::Send(const std::function<void(platform::MediaPlayerEvents&)>& event) {
  // A sink may be unadvised while the event is on its way to the others.
  std::vector<std::shared_ptr<platform::MediaPlayerEvents>> sinks;
  for (const auto& [cookie, sink] : sinks_) {
    sinks.push_back(sink);
  }
  for (const auto& sink : sinks) {
    event(*sink);
  }
}

HResult SimMediaPlayer::GetPlayState(std::int32_t* state) {
  if (faults_.Enter("IWMPCore::get_playState")) {
    return kEFail;
  }
  if (state == nullptr) {
    return kEPointer;
  }
  *state = state_;
  return kSOk;
}

HResult SimMediaPlayer::GetCurrentMedia(std::unique_ptr<platform::Media>* media) {
  if (faults_.Enter("IWMPCore::get_currentMedia")) {
    return kEFail;
  }
  if (media == nullptr) {
    return kEPointer;
  }
  media->reset();
  if (current_) {
    *media = std::make_unique<SimMedia>(faults_, *current_, mediaHeld_);
  }
  return kSOk;
}

HResult SimMediaPlayer::Advise(std::shared_ptr<platform::MediaPlayerEvents> sink,
                               std::uint32_t* cookie) {
  if (faults_.Enter("IConnectionPoint::Advise")) {
    return kEFail;
  }
  if (sink == nullptr || cookie == nullptr) {
    return kEPointer;
  }
  *cookie = nextCookie_++;
  sinks_.emplace(*cookie, std::move(sink));
  return kSOk;
}

HResult SimMediaPlayer::Unadvise(std::uint32_t cookie) {
  if (faults_.Enter("IConnectionPoint::Unadvise")) {
    return kEFail;
  }
  return sinks_.erase(cookie) == 1 ? kSOk : kConnectENoConnection;
}

}  // namespace tb::sim
