// The simulated desktop: every outside thing the product relies on, in
// process, behind the same seam as real Windows: the registry, windows and
// messages, a virtual clock with thread timers, Messenger, the host, the
// players (Windows Media Player with its plug-in among them), the script
// host, the keyboard, message boxes, files, processes and environment
// variables.
#pragma once

#include "platform/platform.h"
#include "platform/sim/diagnostics.h"
#include "platform/sim/environment.h"
#include "platform/sim/faults.h"
#include "platform/sim/files.h"
#include "platform/sim/host.h"
#include "platform/sim/keyboard.h"
#include "platform/sim/media_player.h"
#include "platform/sim/message_boxes.h"
#include "platform/sim/message_pump.h"
#include "platform/sim/messenger.h"
#include "platform/sim/players.h"
#include "platform/sim/processes.h"
#include "platform/sim/registry.h"
#include "platform/sim/script_shell.h"
#include "platform/sim/shell.h"
#include "platform/sim/timer.h"
#include "platform/sim/windows.h"

namespace tb::sim {

// The title of the conversation window that Messenger opens for a contact.
std::u16string ConversationTitle(const std::u16string& contact);

class SimDesktop {
 public:
  SimDesktop();
  SimDesktop(const SimDesktop&) = delete;
  SimDesktop& operator=(const SimDesktop&) = delete;
  SimDesktop(SimDesktop&&) = delete;
  SimDesktop& operator=(SimDesktop&&) = delete;
  ~SimDesktop() = default;

  Faults faults;
  SimRegistry registry{faults};
  SimTimer timer{faults};
  SimWindows windows{faults, timer};
  SimMessagePump messagePump{faults, timer, windows};
  SimMessenger messenger{faults};
  SimKeyboard keyboard{faults, timer, windows};
  SimScriptShell scriptShell{faults, registry};
  SimMessageBoxes messageBoxes{faults};
  SimShell shell{faults};
  SimFiles files{faults};
  SimProcesses processes{faults, files};
  SimEnvironment environment{faults};
  SimModule module{faults};
  SimPlayers players{windows};
  SimMediaPlayer mediaPlayer{faults};
  SimDiagnostics diagnostics;
  SimHost host{windows, timer, registry, messenger.state};

  platform::Platform& Platform() { return platform_; }

 private:
  platform::Platform platform_{registry,  timer,       messagePump,  messenger, windows,
                               keyboard,  scriptShell, messageBoxes, shell,     files,
                               processes, module,      diagnostics};
};

}  // namespace tb::sim
