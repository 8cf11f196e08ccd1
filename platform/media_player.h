// Windows Media Player as a user-interface plug-in meets it (wmp.h and the
// player's plug-in interface): the player's core (IWMPCore), the media it
// holds (IWMPMedia), the events it sends to a sink advised on the core's
// connection point (IWMPEvents), and the plug-in as the player calls it
// (IWMPPluginUI).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/types.h"

namespace tb::platform {

// WMPPlayState.
enum PlayState : std::int32_t {
  kPlayStateUndefined = 0,
  kPlayStateStopped = 1,
  kPlayStatePaused = 2,
  kPlayStatePlaying = 3,
  kPlayStateScanForward = 4,
  kPlayStateScanReverse = 5,
  kPlayStateBuffering = 6,
  kPlayStateWaiting = 7,
  kPlayStateMediaEnded = 8,
  kPlayStateTransitioning = 9,
  kPlayStateReady = 10,
  kPlayStateReconnecting = 11,
};

// One reference to a media item; destroying it releases the reference.
class Media {
 public:
  virtual ~Media() = default;
  // IWMPMedia::get_name
  virtual HResult GetName(std::u16string* name) = 0;
  // IWMPMedia::getItemInfo
  virtual HResult GetItemInfo(const std::u16string& attribute, std::u16string* value) = 0;
  // IWMPMedia::get_durationString
  virtual HResult GetDurationString(std::u16string* text) = 0;
};

// IWMPEvents, the events a plug-in acts on. The player calls them on its
// own thread, and nothing it calls may fail back into the player.
class MediaPlayerEvents {
 public:
  virtual ~MediaPlayerEvents() = default;
  // IWMPEvents::PlayStateChange (a WMPPlayState)
  virtual void PlayStateChange(std::int32_t newState) = 0;
  // IWMPEvents::CurrentItemChange: the player moved to another media item.
  virtual void CurrentItemChange() = 0;
  // IWMPEvents::MediaChange: a media item's attributes changed.
  virtual void MediaChange() = 0;
};

class MediaPlayerCore {
 public:
  virtual ~MediaPlayerCore() = default;
  // IWMPCore::get_playState
  virtual HResult GetPlayState(std::int32_t* state) = 0;
  // IWMPCore::get_currentMedia: *media stays null when there is none.
  virtual HResult GetCurrentMedia(std::unique_ptr<Media>* media) = 0;
  // IConnectionPointContainer::FindConnectionPoint(IID_IWMPEvents), then
  // IConnectionPoint::Advise: the core holds `sink` until Unadvise.
  virtual HResult Advise(std::shared_ptr<MediaPlayerEvents> sink, std::uint32_t* cookie) = 0;
  // IConnectionPoint::Unadvise
  virtual HResult Unadvise(std::uint32_t cookie) = 0;
};

// IWMPPluginUI, as the player drives a background plug-in: it hands the
// plug-in its core after creating it, and takes it away (null) before it
// releases the plug-in.
class MediaPlayerPlugin {
 public:
  virtual ~MediaPlayerPlugin() = default;
  // IWMPPluginUI::SetCore
  virtual HResult SetCore(MediaPlayerCore* core) = 0;
};

}  // namespace tb::platform
