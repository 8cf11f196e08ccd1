#include "plugin/core/tag_expansion.h"

#include <array>
#include <functional>

#include "common/mod_reg.h"
#include "common/text.h"
#include "plugin/core/plugin.h"

namespace tb {
namespace {

struct TagSource {
  const char16_t* tag;
  const char16_t* metadataValue;          // read from the registry, or
  std::u16string FrmWinamp::*storeField;  // taken from the now-playing store
};

const std::array<TagSource, 7> kTags = {{
    {u"(!XWMPTITLE)", kMetadataTitle, nullptr},
    {u"(!XWMPARTIST)", kMetadataAuthor, nullptr},
    {u"(!XWMPALBUM)", kMetadataAlbum, nullptr},
    {u"(!XWMPDURATION)", kMetadataDuration, nullptr},
    {u"(!XWPTITLE)", nullptr, &FrmWinamp::songTitle},
    {u"(!XWPARTIST)", nullptr, &FrmWinamp::songArtist},
    {u"(!XWPALBUM)", nullptr, &FrmWinamp::songAlbum},
}};

}  // namespace

bool ParseTag(Plugin& plugin, const std::u16string& sTag, std::u16string& sResult) {
  for (const TagSource& source : kTags) {
    if (!EqualsIgnoringCase(sTag, source.tag)) {
      continue;
    }
    const std::function<std::u16string()> read = [&]() -> std::u16string {
      if (source.metadataValue != nullptr) {
        return ReadRegistryString(plugin.Platform().registry, platform::kHkeyCurrentUser,
                                  kCurrentMetadataKey, source.metadataValue);
      }
      return plugin.NowPlaying().*source.storeField;
    };
    std::u16string text = read();
    // A non-empty text is read a second time, and the second reading counts.
    text = text.empty() ? u" " : read();
    sResult = SingleLine(text);
    return true;
  }
  return false;
}

}  // namespace tb
