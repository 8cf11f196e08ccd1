// Where the installer puts things: the files it copies, the host's plug-in
// folder and list, and Windows Media Player's list of UI plug-ins.
#pragma once

#include <string>

#include "common/publisher_identity.h"

namespace tb::setup {

// The host's own key under HKEY_LOCAL_MACHINE, with the plug-in folder.
inline constexpr char16_t kMsgPlusKey[] = u"SOFTWARE\\Pelorin\\MsgPlus2";
inline constexpr char16_t kPluginDirValue[] = u"PluginDir";
// The host's list of plug-ins: display name = the plug-in's ProgID.
inline constexpr char16_t kRegisteredPluginsKey[] =
    u"SOFTWARE\\Pelorin\\MsgPlus2\\RegisteredPlugins";
inline constexpr char16_t kPluginDisplayName[] = u"Tunebadge";

// The publishing plug-in's entry among Windows Media Player's UI plug-ins,
// named by its class.
inline const std::u16string kUiPluginKey =
    std::u16string(u"SOFTWARE\\Microsoft\\MediaPlayer\\UIPlugins\\") + publisher::kClsidPublisher;
inline constexpr char16_t kCapabilitiesValue[] = u"Capabilities";
inline constexpr char16_t kDescriptionValue[] = u"Description";
inline constexpr char16_t kFriendlyNameValue[] = u"FriendlyName";
// How Windows Media Player's list of plug-ins shows ours: plain text, which
// the player shows as it stands.
inline constexpr char16_t kDescriptionText[] =
    u"Keeps the song that Windows Media Player plays where Tunebadge shows it in your "
    u"Messenger name.";
inline constexpr char16_t kFriendlyNameText[] = u"Tunebadge now playing";
// "0000001": a background plug-in.
inline constexpr unsigned kCapabilities = 1;

// The files: what the distribution folder holds, and the names they are
// installed as.
inline constexpr char16_t kPluginFile[] = u"Tunebadge.dll";
inline constexpr char16_t kPublisherSource[] = u"data.cab";
inline constexpr char16_t kPublisherFile[] = u"blogging.dll";
inline constexpr char16_t kFormsSource[] = u"data0.cab";
inline constexpr char16_t kFormsFile[] = u"FM20.DLL";

// The system folder is WINDIR followed by this.
inline constexpr char16_t kWindirVariable[] = u"WINDIR";
inline constexpr char16_t kSystemSubfolder[] = u"\\system32";

}  // namespace tb::setup
