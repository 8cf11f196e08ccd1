#include "common/settings.h"

#include <array>
#include <utility>

#include "common/mod_reg.h"
#include "common/text.h"

namespace tb {

SettingWriteError::SettingWriteError(const std::u16string& key, platform::Status status)
    : Refused("the registry refused to store setting " + Narrow(key) + " (error " +
              std::to_string(status) + ")"),
      status_(status) {}

std::u16string ReadSetting(platform::Registry& registry, const std::u16string& key) {
  return ReadRegistryString(registry, platform::kHkeyCurrentUser, kSettingsKeyPath, key);
}

std::optional<std::u16string> ReadSettingIfAnswered(platform::Registry& registry,
                                                    const std::u16string& key) {
  return ReadRegistryStringIfAnswered(registry, platform::kHkeyCurrentUser, kSettingsKeyPath, key);
}

void WriteSetting(platform::Registry& registry, const std::u16string& key,
                  const std::u16string& text) {
  const platform::Status status =
      WriteRegistryString(registry, platform::kHkeyCurrentUser, kSettingsKeyPath, key, text);
  if (status != platform::kErrorSuccess) {
    throw SettingWriteError(key, status);
  }
}

void WriteDefaultSettings(platform::Registry& registry) {
  const std::array<std::pair<const char16_t*, const char16_t*>, 4> defaults = {{
      {kOnOff, kDefaultOnOff},
      {kCurrentTag, kDefaultCurrentTag},
      {kCurrentTagMMJ, kDefaultCurrentTagMMJ},
      {kCurrentTagWMP, kDefaultCurrentTagWMP},
  }};
  for (const auto& [key, text] : defaults) {
    if (ReadSetting(registry, key).empty()) {
      WriteSetting(registry, key, text);
    }
  }
}

}  // namespace tb
