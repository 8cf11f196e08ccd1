// The plug-in's persisted settings: named texts under HKEY_CURRENT_USER
// "Software\VB and VBA Program Settings\Corvan's tbg Plugin\Data", stored as
// REG_SZ, read and written at the moment of use and never cached.
#pragma once

#include <optional>
#include <string>

#include "common/refused.h"
#include "platform/registry.h"

namespace tb {

inline constexpr char16_t kSettingsKeyPath[] =
    u"Software\\VB and VBA Program Settings\\Corvan's tbg Plugin\\Data";

// The setting keys.
inline constexpr char16_t kOnOff[] = u"onOff";
inline constexpr char16_t kStatus[] = u"Status";
inline constexpr char16_t kPlayer[] = u"Player";
inline constexpr char16_t kCurrentTag[] = u"CurrentTag";
inline constexpr char16_t kCurrentTagMMJ[] = u"CurrentTagMMJ";
inline constexpr char16_t kCurrentTagWMP[] = u"CurrentTagWMP";

// The values of Player.
inline constexpr char16_t kPlayerWinamp[] = u"Winamp";
inline constexpr char16_t kPlayerMusicMatch[] = u"MusicMatch";
inline constexpr char16_t kPlayerWindowsMedia[] = u"WindowsMedia";

// The values of Status.
inline constexpr char16_t kStatusPlaying[] = u"Playing";
inline constexpr char16_t kStatusStopped[] = u"Stopped";

// The values of the switch onOff.
inline constexpr char16_t kSwitchOn[] = u"1";
inline constexpr char16_t kSwitchOff[] = u"0";

// The defaults written at start-up for keys that read as empty.
inline constexpr const char16_t* kDefaultOnOff = kSwitchOn;
inline constexpr char16_t kDefaultCurrentTag[] =
    u" Currently Playing >> (!XWPALBUM)-(!XWPARTIST)-(!XWPTITLE)(8)";
inline constexpr char16_t kDefaultCurrentTagMMJ[] = u" Currently Playing >> ";
inline constexpr char16_t kDefaultCurrentTagWMP[] =
    u" Currently Playing >> (!XWMPALBUM)-(!XWMPARTIST)-(!XWMPTITLE)-(!XWMPDURATION) (8)";

// A write that the registry refused; it ends the operation that wrote.
class SettingWriteError : public Refused {
 public:
  SettingWriteError(const std::u16string& key, platform::Status status);
  [[nodiscard]] platform::Status Status() const { return status_; }

 private:
  platform::Status status_;
};

// The stored text; a missing key, section or value reads as the empty string.
// A read never fails.
std::u16string ReadSetting(platform::Registry& registry, const std::u16string& key);
// The same, but nothing when the registry refused the read.
std::optional<std::u16string> ReadSettingIfAnswered(platform::Registry& registry,
                                                    const std::u16string& key);

// Stores `text`, creating the keys on the way; throws SettingWriteError when
// the registry refuses.
void WriteSetting(platform::Registry& registry, const std::u16string& key,
                  const std::u16string& text);

// For onOff, CurrentTag, CurrentTagMMJ and CurrentTagWMP, in that order:
// writes the default when the key reads as empty.
void WriteDefaultSettings(platform::Registry& registry);

}  // namespace tb
