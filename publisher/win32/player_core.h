// The player's core as the publisher reaches it on Windows: IWMPCore, the
// IWMPMedia items it answers, and a sink of IWMPEvents advised on its
// connection point that passes the events on. Each member forwards to its
// COM call; nothing thrown leaves an event.
#pragma once

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <memory>

#include "platform/media_player.h"
#include "plugin_ui.h"

namespace tb::win32 {

class Win32MediaPlayerCore final : public platform::MediaPlayerCore {
 public:
  // Holds a reference to `core` for its whole life.
  explicit Win32MediaPlayerCore(IWMPCore& core);
  ~Win32MediaPlayerCore() override;
  Win32MediaPlayerCore(const Win32MediaPlayerCore&) = delete;
  Win32MediaPlayerCore& operator=(const Win32MediaPlayerCore&) = delete;
  Win32MediaPlayerCore(Win32MediaPlayerCore&&) = delete;
  Win32MediaPlayerCore& operator=(Win32MediaPlayerCore&&) = delete;

  platform::HResult GetPlayState(std::int32_t* state) override;
  platform::HResult GetCurrentMedia(std::unique_ptr<platform::Media>* media) override;
  // One connection at a time.
  platform::HResult Advise(std::shared_ptr<platform::MediaPlayerEvents> sink,
                           std::uint32_t* cookie) override;
  platform::HResult Unadvise(std::uint32_t cookie) override;

 private:
  IWMPCore& core_;
  IConnectionPoint* point_ = nullptr;
};

}  // namespace tb::win32
