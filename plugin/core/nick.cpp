#include "plugin/core/nick.h"

#include <array>

#include "plugin/core/commands.h"
#include "plugin/core/plugin.h"
#include "plugin/core/tag_expansion.h"

namespace tb {
namespace {

struct PublishedCommand {
  const char16_t* name;
  const char16_t* value;
};

constexpr std::array<PublishedCommand, kPublishedCommandCount> kPublishedCommands = {{
    {u"Options", u"xtbgoptions"},
    {u"About", u"xtbgabout"},
    {u"On", u"xtbgon"},
    {u"Off", u"xtbgoff"},
}};

}  // namespace

Nick::Nick(Plugin& plugin) : plugin_(plugin) { plugin_.EnsureStarted(); }

bool Nick::Initialize(std::int32_t /*nVersion*/, const std::u16string& /*sUserEmail*/,
                      const void* /*oMessenger*/) {
  return true;
}

void Nick::Uninitialize() {}

bool Nick::GetPublishInfo(std::u16string& sPluginName, std::int32_t& nCommandCount,
                          std::int32_t& nTagCount) {
  sPluginName = kPluginName;
  nCommandCount = kPublishedCommandCount;
  nTagCount = kPublishedTagCount;
  return true;
}

void Nick::GetPublishCommandInfo(std::int32_t nCommandIdx, std::u16string& sName,
                                 std::u16string& sValue, std::u16string& /*sHelp*/) {
  if (nCommandIdx < 1 || nCommandIdx > kPublishedCommandCount) {
    return;
  }
  const PublishedCommand& command =
      kPublishedCommands.at(static_cast<std::size_t>(nCommandIdx - 1));
  sName = command.name;
  sValue = command.value;
}

bool Nick::ParseCommand(const std::u16string& sCommand, const std::u16string& /*sCommandArg*/,
                        const void* /*oConversationWnd*/, std::u16string& sResult) {
  return tb::ParseCommand(plugin_, sCommand, sResult);
}

bool Nick::ParseTag(const std::u16string& sTag, const void* /*oConversationWnd*/,
                    std::u16string& sResult) {
  return tb::ParseTag(plugin_, sTag, sResult);
}

}  // namespace tb
