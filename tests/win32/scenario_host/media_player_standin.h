// Windows Media Player on the real desktop: the simulated desktop's player
// (its current item, its play state and the order of its events), reached
// through COM as a UI plug-in reaches the real player: IWMPCore with the
// connection point of IWMPEvents, and IWMPMedia for the current item. When
// it starts it creates its plug-in by class identifier through COM (the
// library registered with regsvr32) and hands it the core; when it closes
// it takes the core away and releases the plug-in.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/sim/faults.h"
#include "platform/sim/media_player.h"

namespace tb::test {

class MediaPlayerStandIn {
 public:
  explicit MediaPlayerStandIn(const CLSID& plugin);
  // Closes the player; a core the plug-in still holds answers nothing more.
  ~MediaPlayerStandIn();
  MediaPlayerStandIn(const MediaPlayerStandIn&) = delete;
  MediaPlayerStandIn& operator=(const MediaPlayerStandIn&) = delete;
  MediaPlayerStandIn(MediaPlayerStandIn&&) = delete;
  MediaPlayerStandIn& operator=(MediaPlayerStandIn&&) = delete;

  // The user's actions, as on the simulated desktop.
  sim::SimMediaPlayer& Player() { return player_; }
  // The player's calls can be made to fail, by the simulated desktop's names.
  sim::Faults& Faults() { return faults_; }

  // Why the plug-in could not be created when the player last started.
  [[nodiscard]] const std::optional<std::string>& PluginFailure() const { return pluginFailure_; }
  // What the plug-in holds of the player: references to its core, and media
  // items it has not released.
  [[nodiscard]] unsigned long HeldByPlugin() const;
  // Where the plug-in's library was wrong about whether it could be unloaded
  // (DllCanUnloadNow): yes while the player still held its event sink, or no
  // once the player has closed and holds nothing of it.
  [[nodiscard]] std::optional<std::string> UnloadFault() const;

 private:
  class Core;

  sim::Faults faults_;
  // Outlives the player, whose sinks record in it as it lets them go.
  std::optional<std::string> unloadFault_;
  sim::SimMediaPlayer player_{faults_};
  // Media items handed out and not released; they may outlive the stand-in.
  std::shared_ptr<LONG> mediaHeld_ = std::make_shared<LONG>(0);
  Core* core_;
  std::optional<std::string> pluginFailure_;
  // The plug-in's library, once the player has made the plug-in. COM keeps
  // it loaded: nothing here asks it to free unused libraries.
  HMODULE pluginLibrary_ = nullptr;
};

}  // namespace tb::test
