#include <gtest/gtest.h>

#include "platform/sim/desktop.h"
#include "plugin/core/nick.h"
#include "plugin/core/plugin.h"
#include "tools/sandbox/sim_dialogs.h"

namespace tb {
namespace {

class NickTest : public ::testing::Test {
 protected:
  sim::SimDesktop desktop;
  sandbox::SimDialogs dialogs{desktop};
  Plugin plugin{desktop.Platform(), dialogs};
  Nick nick{plugin};
};

TEST_F(NickTest, InitializeAnswersTrueWhateverItIsGiven) {
  EXPECT_TRUE(nick.Initialize(0, u"", nullptr));
  EXPECT_TRUE(nick.Initialize(-1, u"someone@example.com", &desktop));
}

TEST_F(NickTest, UninitializeLeavesTheTimerAndTheFormRunning) {
  nick.Uninitialize();
  EXPECT_NE(plugin.PollTimerId(), 0U);
  EXPECT_TRUE(plugin.SendTextForm().Loaded());
  desktop.timer.Advance(1000);
  EXPECT_EQ(desktop.timer.Fired(), 1U);
}

TEST_F(NickTest, PublishesFourCommandsAndNoTags) {
  std::u16string name = u"old";
  std::int32_t commands = 99;
  std::int32_t tags = 99;
  EXPECT_TRUE(nick.GetPublishInfo(name, commands, tags));
  EXPECT_EQ(name, u"Tunebadge Plugin");
  EXPECT_EQ(commands, 4);
  EXPECT_EQ(tags, 0);
}

TEST_F(NickTest, CommandInfoAnswersOneToFourAndNeverWritesHelp) {
  const std::u16string names[] = {u"Options", u"About", u"On", u"Off"};
  const std::u16string values[] = {u"xtbgoptions", u"xtbgabout", u"xtbgon", u"xtbgoff"};
  for (std::int32_t index = 1; index <= 4; ++index) {
    std::u16string name = u"n";
    std::u16string value = u"v";
    std::u16string help = u"the host's help";
    nick.GetPublishCommandInfo(index, name, value, help);
    EXPECT_EQ(name, names[index - 1]);
    EXPECT_EQ(value, values[index - 1]);
    EXPECT_EQ(help, u"the host's help");
  }
  for (const std::int32_t index : {0, 5, -1, 0x7FFFFFFF, static_cast<std::int32_t>(0x80000000U)}) {
    std::u16string name = u"n";
    std::u16string value = u"v";
    std::u16string help = u"h";
    nick.GetPublishCommandInfo(index, name, value, help);
    EXPECT_EQ(name, u"n") << index;
    EXPECT_EQ(value, u"v") << index;
    EXPECT_EQ(help, u"h") << index;
  }
}

}  // namespace
}  // namespace tb
