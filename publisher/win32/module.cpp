#include "publisher/win32/module.h"

namespace tb::win32 {
namespace {

HMODULE g_module = nullptr;

}  // namespace

HMODULE PublisherModule() { return g_module; }

}  // namespace tb::win32

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    tb::win32::g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}
