// The registry seam on real Windows: each member forwards to its advapi32 call.
#pragma once

#include "platform/registry.h"

namespace tb::win32 {

class Win32Registry final : public platform::Registry {
 public:
  platform::Status OpenKey(platform::RegKey root, const std::u16string& path, std::uint32_t access,
                           platform::RegKey* key) override;
  platform::Status CreateKey(platform::RegKey root, const std::u16string& path,
                             platform::RegKey* key) override;
  platform::Status QueryValue(platform::RegKey key, const std::u16string& name, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* size) override;
  platform::Status SetValue(platform::RegKey key, const std::u16string& name, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size) override;
  platform::Status DeleteValue(platform::RegKey key, const std::u16string& name) override;
  platform::Status DeleteKey(platform::RegKey root, const std::u16string& path) override;
  platform::Status CloseKey(platform::RegKey key) override;
};

}  // namespace tb::win32
