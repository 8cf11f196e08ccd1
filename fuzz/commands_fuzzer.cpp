// ParseCommand with any command text and sResult, the song shown or not,
// and one seam call on the way failing: it answers true exactly for the four
// commands written in any case, leaves sResult alone for all but
// "/xtbgoptions", which empties it, fails only by a refused setting or, for
// the two dialogs, a dialog that could not be shown (sResult then as
// passed), and closes every key.
#include <array>
#include <cstdlib>

#include "common/settings.h"
#include "common/text.h"
#include "fuzz/fuzz_input.h"
#include "platform/sim/desktop.h"
#include "plugin/core/nick.h"
#include "plugin/core/plugin.h"
#include "tools/sandbox/sim_dialogs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto texts = tb::fuzz::Texts(data, size, 3);
  const std::u16string& command = texts[0];
  const std::u16string& passed = texts[1];
  // The third text chooses the setting Status and which call fails.
  const std::size_t choice = texts[2].empty() ? 0 : texts[2][0];

  tb::sim::SimDesktop desktop;
  desktop.messenger.state.signinName = u"ann@example.com";
  desktop.messenger.state.friendlyName = u"Ann\u00a0 Currently Playing >> Song";
  desktop.registry.PutString(tb::platform::kHkeyCurrentUser, tb::kSettingsKeyPath, tb::kStatus,
                             (choice & 1U) != 0 ? tb::kStatusPlaying : tb::kStatusStopped);
  tb::sandbox::SimDialogs dialogs(desktop);
  tb::Plugin plugin(desktop.Platform(), dialogs);
  tb::Nick nick(plugin);
  if (choice >= 2) {
    desktop.faults.FailOverall(choice / 2);
  }

  static const std::array<std::u16string, 4> kCommands = {u"/xtbgoptions", u"/xtbgabout",
                                                          u"/xtbgon", u"/xtbgoff"};
  bool known = false;
  for (const auto& name : kCommands) {
    known = known || tb::EqualsIgnoringCase(command, name);
  }
  std::u16string result = passed;
  bool answered = false;
  bool refusedSetting = false;
  bool refusedDialog = false;
  try {
    answered = nick.ParseCommand(command, u"", nullptr, result);
  } catch (const tb::SettingWriteError&) {
    refusedSetting = true;
  } catch (const tb::DialogError&) {
    refusedDialog = true;
  }
  const bool failed = refusedSetting || refusedDialog;
  const bool emptied = tb::EqualsIgnoringCase(command, u"/xtbgoptions");
  const bool about = tb::EqualsIgnoringCase(command, u"/xtbgabout");
  // A refused setting is a failed call, which only the commands that write
  // one can meet; a dialog that could not be shown, only those that show one.
  const bool wrongFailure = (refusedSetting && (!known || about)) ||
                            (refusedDialog && ((!emptied && !about) || result != passed));
  const bool wrongAnswer =
      !failed && (answered != known || result != (emptied ? std::u16string() : passed));
  if (wrongFailure || wrongAnswer || desktop.registry.OpenHandles() != 0 ||
      desktop.timer.Count() != 1) {
    std::abort();
  }
  return 0;
}
