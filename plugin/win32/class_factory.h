// Tunebadge.dll's one class object, for class Nick. It lives as long as the
// library; each reference to it holds the library loaded.
#pragma once

#include <windows.h>

#include "common/win32/com_server.h"

namespace tb::win32 {

class ClassFactory final : public LibraryClassFactory {
 public:
  // Runs start-up, once per load, before the first object is handed out;
  // when start-up fails, no object is.
  HRESULT Make(REFIID iid, void** object) override;
};

ClassFactory& TheClassFactory();

}  // namespace tb::win32
