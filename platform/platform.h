// Everything outside the product, as one bundle of seam interfaces. The
// product's code receives this and never asks which world it runs in.
#pragma once

#include "platform/diagnostics.h"
#include "platform/files.h"
#include "platform/keyboard.h"
#include "platform/message_boxes.h"
#include "platform/message_pump.h"
#include "platform/messenger.h"
#include "platform/module.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/script_shell.h"
#include "platform/shell.h"
#include "platform/timer.h"
#include "platform/windowing.h"

namespace tb::platform {

struct Platform {
  Registry& registry;
  Timer& timer;
  MessagePump& messagePump;
  Messenger& messenger;
  Windows& windows;
  Keyboard& keyboard;
  ScriptShell& scriptShell;
  MessageBoxes& messageBoxes;
  Shell& shell;
  Files& files;
  Processes& processes;
  Module& module;
  Diagnostics& diagnostics;
};

}  // namespace tb::platform
