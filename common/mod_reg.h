// Registry values for the plug-in, the installer and the publishing plug-in:
// settings, Windows Media Player's current song, quick texts, registration.
// What cannot be read comes back empty or 0; writes and deletions answer the
// first failing call's code, which most callers ignore.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>

#include "platform/registry.h"

namespace tb {

// The text of a REG_SZ value up to its first NUL; the empty string for a
// missing key or value, or a value of any other type.
std::u16string ReadRegistryString(platform::Registry& registry, platform::RegKey root,
                                  const std::u16string& path, const std::u16string& name);
// The same, but nothing when the registry refused the read (any answer but
// ERROR_FILE_NOT_FOUND for the key or the value), where a missing value is
// no answer to act on.
std::optional<std::u16string> ReadRegistryStringIfAnswered(platform::Registry& registry,
                                                           platform::RegKey root,
                                                           const std::u16string& path,
                                                           const std::u16string& name);

// Creates the key path as needed, stores `bytes` as a value of `type` and
// closes the key again. Answers the first failing call's code.
platform::Status WriteRegistryValue(platform::Registry& registry, platform::RegKey root,
                                    const std::u16string& path, const std::u16string& name,
                                    std::uint32_t type, std::span<const std::uint8_t> bytes);

// WriteRegistryValue with `text` as REG_SZ, terminating NUL included.
platform::Status WriteRegistryString(platform::Registry& registry, platform::RegKey root,
                                     const std::u16string& path, const std::u16string& name,
                                     const std::u16string& text);

// Removes a value. Answers the first failing call's code: a key or value
// that is not there answers ERROR_FILE_NOT_FOUND.
platform::Status DeleteRegistryValue(platform::Registry& registry, platform::RegKey root,
                                     const std::u16string& path, const std::u16string& name);

// Deletes `paths` in the order given, so deepest first (a key with subkeys cannot be
// deleted), trying every one: a key already gone is no failure. Answers the first failing code.
platform::Status DeleteRegistryKeys(platform::Registry& registry, platform::RegKey root,
                                    std::initializer_list<std::u16string> paths);

// The number stored in a REG_DWORD value; 0 for anything else.
std::int32_t ReadRegistryDword(platform::Registry& registry, platform::RegKey root,
                               const std::u16string& path, const std::u16string& name);

}  // namespace tb
