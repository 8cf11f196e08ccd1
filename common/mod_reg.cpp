#include "common/mod_reg.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/registry_data.h"
#include "platform/scoped_key.h"

namespace tb {

std::optional<std::u16string> ReadRegistryStringIfAnswered(platform::Registry& registry,
                                                           platform::RegKey root,
                                                           const std::u16string& path,
                                                           const std::u16string& name) {
  const auto answered = [](platform::Status status) -> std::optional<std::u16string> {
    if (status == platform::kErrorFileNotFound) {
      return std::u16string();
    }
    return std::nullopt;
  };
  platform::ScopedKey key(registry);
  const platform::Status opened =
      registry.OpenKey(root, path, platform::kKeyQueryValue, key.Receive());
  if (opened != platform::kErrorSuccess) {
    return answered(opened);
  }
  std::uint32_t type = platform::kRegNone;
  std::uint32_t size = 0;
  const platform::Status sized = registry.QueryValue(key.Get(), name, &type, nullptr, &size);
  if (sized != platform::kErrorSuccess) {
    return answered(sized);
  }
  if (type != platform::kRegSz) {
    return std::u16string();
  }
  std::vector<std::uint8_t> bytes(size);
  const platform::Status read = registry.QueryValue(key.Get(), name, &type, bytes.data(), &size);
  if (read != platform::kErrorSuccess) {
    return answered(read);
  }
  if (type != platform::kRegSz) {
    return std::u16string();
  }
  return platform::TextOfStringData(bytes.data(), std::min<std::size_t>(size, bytes.size()));
}

std::u16string ReadRegistryString(platform::Registry& registry, platform::RegKey root,
                                  const std::u16string& path, const std::u16string& name) {
  return ReadRegistryStringIfAnswered(registry, root, path, name).value_or(std::u16string());
}

platform::Status WriteRegistryValue(platform::Registry& registry, platform::RegKey root,
                                    const std::u16string& path, const std::u16string& name,
                                    std::uint32_t type, std::span<const std::uint8_t> bytes) {
  platform::ScopedKey key(registry);
  const platform::Status created = registry.CreateKey(root, path, key.Receive());
  if (created != platform::kErrorSuccess) {
    return created;
  }
  return registry.SetValue(key.Get(), name, type, bytes.data(),
                           static_cast<std::uint32_t>(bytes.size()));
}

platform::Status WriteRegistryString(platform::Registry& registry, platform::RegKey root,
                                     const std::u16string& path, const std::u16string& name,
                                     const std::u16string& text) {
  return WriteRegistryValue(registry, root, path, name, platform::kRegSz,
                            platform::StringData(text));
}

platform::Status DeleteRegistryValue(platform::Registry& registry, platform::RegKey root,
                                     const std::u16string& path, const std::u16string& name) {
  platform::ScopedKey key(registry);
  const platform::Status opened =
      registry.OpenKey(root, path, platform::kKeySetValue, key.Receive());
  if (opened != platform::kErrorSuccess) {
    return opened;
  }
  return registry.DeleteValue(key.Get(), name);
}

platform::Status DeleteRegistryKeys(platform::Registry& registry, platform::RegKey root,
                                    std::initializer_list<std::u16string> paths) {
  platform::Status result = platform::kErrorSuccess;
  for (const std::u16string& path : paths) {
    const platform::Status status = registry.DeleteKey(root, path);
    if (result == platform::kErrorSuccess && status != platform::kErrorFileNotFound) {
      result = status;
    }
  }
  return result;
}

std::int32_t ReadRegistryDword(platform::Registry& registry, platform::RegKey root,
                               const std::u16string& path, const std::u16string& name) {
  platform::ScopedKey key(registry);
  if (registry.OpenKey(root, path, platform::kKeyQueryValue, key.Receive()) !=
      platform::kErrorSuccess) {
    return 0;
  }
  std::array<std::uint8_t, 4> bytes{};
  std::uint32_t type = platform::kRegNone;
  auto size = static_cast<std::uint32_t>(bytes.size());
  if (registry.QueryValue(key.Get(), name, &type, bytes.data(), &size) != platform::kErrorSuccess ||
      type != platform::kRegDword) {
    return 0;
  }
  return static_cast<std::int32_t>(platform::NumberOfDwordData(bytes.data()));
}

}  // namespace tb
