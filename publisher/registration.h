// The publishing plug-in's self-registration under HKEY_CLASSES_ROOT: the
// class key with its name, and InprocServer32 with the library's path and
// the apartment threading model. Windows Media Player's list of UI plug-ins
// is the installer's to write.
#pragma once

#include <string>

#include "platform/registry.h"

namespace tb::publisher {

// Answers the first failing call's code.
platform::Status RegisterPublisher(platform::Registry& registry, const std::u16string& modulePath);

// Removes the class key; a key already gone is no failure. Answers the
// first failing call's code.
platform::Status UnregisterPublisher(platform::Registry& registry);

}  // namespace tb::publisher
