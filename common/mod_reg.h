// Access to registry values outside the plug-in's own settings: Windows Media
// Player's current song and the host's quick texts. None of these routines
// reports an error: what cannot be read comes back empty or 0, and a write
// that fails is lost.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace tb {

// The text of a REG_SZ value up to its first NUL; the empty string for a
// missing key or value, or a value of any other type.
std::u16string ReadRegistryString(platform::Registry& registry, platform::RegKey root,
                                  const std::u16string& path, const std::u16string& name);

// Creates the key path as needed and stores `text` as REG_SZ with its
// terminating NUL. Answers the first failing call's code, which the plug-in's
// callers ignore.
platform::Status WriteRegistryString(platform::Registry& registry, platform::RegKey root,
                                     const std::u16string& path, const std::u16string& name,
                                     const std::u16string& text);

// Removes a value. Answers the first failing call's code: a key or value
// that is not there answers ERROR_FILE_NOT_FOUND.
platform::Status DeleteRegistryValue(platform::Registry& registry, platform::RegKey root,
                                     const std::u16string& path, const std::u16string& name);

// The number stored in a REG_DWORD value; 0 for anything else.
std::int32_t ReadRegistryDword(platform::Registry& registry, platform::RegKey root,
                               const std::u16string& path, const std::u16string& name);

}  // namespace tb
