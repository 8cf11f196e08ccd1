#include "plugin/win32/module.h"

#include <new>

#include "platform/platform.h"
#include "platform/win32/diagnostics.h"
#include "platform/win32/files.h"
#include "platform/win32/keyboard.h"
#include "platform/win32/message_boxes.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/messenger.h"
#include "platform/win32/processes.h"
#include "platform/win32/registry.h"
#include "platform/win32/script_shell.h"
#include "platform/win32/shell.h"
#include "platform/win32/timer.h"
#include "platform/win32/wide.h"
#include "platform/win32/windowing.h"
#include "plugin/core/plugin.h"
#include "plugin/win32/dialogs/win32_dialogs.h"

namespace tb::win32 {
namespace {

HMODULE g_module = nullptr;

// The desktop as the plug-in sees it, and the plug-in over it.
struct Server {
  Win32Registry registry;
  Win32Timer timer;
  Win32MessagePump messagePump;
  Win32Messenger messenger;
  Win32Windows windows;
  Win32Keyboard keyboard;
  Win32ScriptShell scriptShell;
  Win32MessageBoxes messageBoxes;
  Win32Dialogs dialogs{g_module};
  Win32Shell shell;
  Win32Files files;
  Win32Processes processes;
  Win32Module module{g_module};
  Win32Diagnostics diagnostics;
  platform::Platform platform{registry,  timer,       messagePump,  messenger, windows,
                              keyboard,  scriptShell, messageBoxes, shell,     files,
                              processes, module,      diagnostics};
  Plugin plugin{platform, dialogs};
};

Server* g_server = nullptr;

}  // namespace

Plugin& ThePlugin() {
  if (g_server == nullptr) {
    g_server = new Server;
  }
  return g_server->plugin;
}

bool PollTimerRunning() { return g_server != nullptr && g_server->plugin.PollTimerId() != 0; }

std::u16string ModulePath() { return ModulePath(g_module); }

HRESULT LoadModuleTypeLib(ITypeLib** library) {
  const std::u16string path = ModulePath();
  if (path.empty()) {
    return HRESULT_FROM_WIN32(GetLastError());
  }
  return LoadTypeLibEx(Wide(path), REGKIND_NONE, library);
}

}  // namespace tb::win32

// The library is being freed while the process goes on (CoUninitialize,
// CoFreeUnusedLibraries): give back the plug-in's timer and Messenger
// objects. When the whole process ends there is nothing to give back.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  using tb::win32::g_module;
  using tb::win32::g_server;
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    delete g_server;
    g_server = nullptr;
  }
  return TRUE;
}
