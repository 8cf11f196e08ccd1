// The registry, as the advapi32 calls that the plug-in and the installer make.
//
// Each member is one Win32 call with its Win32 meaning: sizes are in bytes,
// string data is stored as UTF-16 with whatever terminator the writer gave,
// and every call answers a Win32 error code.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace tb::platform {

enum RegType : std::uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegMultiSz = 7,
};

// Access masks used by callers of OpenKey.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
inline constexpr std::uint32_t kMaximumAllowed = 0x02000000;

class Registry {
 public:
  virtual ~Registry() = default;

  // RegOpenKeyExW
  virtual Status OpenKey(RegKey root, const std::u16string& path, std::uint32_t access,
                         RegKey* key) = 0;
  // RegCreateKeyExW, no class, non-volatile, KEY_ALL_ACCESS
  virtual Status CreateKey(RegKey root, const std::u16string& path, RegKey* key) = 0;
  // RegQueryValueExW: data may be null to ask for type and size alone.
  virtual Status QueryValue(RegKey key, const std::u16string& name, std::uint32_t* type,
                            std::uint8_t* data, std::uint32_t* size) = 0;
  // RegSetValueExW
  virtual Status SetValue(RegKey key, const std::u16string& name, std::uint32_t type,
                          const std::uint8_t* data, std::uint32_t size) = 0;
  // RegDeleteValueW
  virtual Status DeleteValue(RegKey key, const std::u16string& name) = 0;
  // RegDeleteKeyW: the key must have no subkeys.
  virtual Status DeleteKey(RegKey root, const std::u16string& path) = 0;
  // RegCloseKey
  virtual Status CloseKey(RegKey key) = 0;
};

}  // namespace tb::platform
