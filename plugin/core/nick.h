// The host's plug-in class Nick: what the MsgPlus host calls. The object
// keeps nothing of its own; the plug-in's work is done by start-up and the
// poll timer. A method that fails throws, and the COM layer answers the host
// with a failed call.
#pragma once

#include <cstdint>
#include <string>

namespace tb {

class Plugin;

inline constexpr char16_t kPluginName[] = u"Tunebadge Plugin";
inline constexpr std::int32_t kPublishedCommandCount = 4;
inline constexpr std::int32_t kPublishedTagCount = 0;

class Nick {
 public:
  // Creating an object runs start-up first, once per load of the library.
  explicit Nick(Plugin& plugin);

  // Does nothing with its arguments and answers true.
  bool Initialize(std::int32_t nVersion, const std::u16string& sUserEmail, const void* oMessenger);
  // Does nothing: the poll timer and frmSendText stay.
  void Uninitialize();
  // "Tunebadge Plugin", four commands, no tags; answers true.
  bool GetPublishInfo(std::u16string& sPluginName, std::int32_t& nCommandCount,
                      std::int32_t& nTagCount);
  // Commands 1 to 4 set sName and sValue; any other index sets nothing.
  // sHelp is never written.
  void GetPublishCommandInfo(std::int32_t nCommandIdx, std::u16string& sName,
                             std::u16string& sValue, std::u16string& sHelp);
  // The four slash commands (see commands.h).
  bool ParseCommand(const std::u16string& sCommand, const std::u16string& sCommandArg,
                    const void* oConversationWnd, std::u16string& sResult);
  // The seven song tags (see tag_expansion.h).
  bool ParseTag(const std::u16string& sTag, const void* oConversationWnd, std::u16string& sResult);

 private:
  Plugin& plugin_;
};

}  // namespace tb
