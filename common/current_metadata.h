// Where Windows Media Player's publishing plug-in keeps the song the player
// plays, under HKEY_CURRENT_USER, as REG_SZ values: the publisher writes
// them and the plug-in's reader and tags read them.
#pragma once

namespace tb {

inline constexpr char16_t kCurrentMetadataKey[] =
    u"Software\\Microsoft\\MediaPlayer\\CurrentMetadata";
inline constexpr char16_t kMetadataTitle[] = u"Title";
inline constexpr char16_t kMetadataAuthor[] = u"Author";
inline constexpr char16_t kMetadataAlbum[] = u"Album";
inline constexpr char16_t kMetadataDuration[] = u"durationString";

}  // namespace tb
