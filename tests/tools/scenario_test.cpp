#include <gtest/gtest.h>

#include "tools/scenario/scenario.h"

namespace tb::scenario {
namespace {

TEST(ScenarioParser, ReadsWordsStringsEscapesAndComments) {
  const auto steps = Parse(
      "# a comment line\n"
      "\n"
      "window \"Winamp v1.x\" \"A \\\"quoted\\\" \\\\ title\"  # trailing comment\r\n"
      "name \"Ann\\u00a0X\\x41\\r\\n\"\n"
      "tick 3\n");
  ASSERT_EQ(steps.size(), 3U);
  EXPECT_EQ(steps[0].line, 3);
  ASSERT_EQ(steps[0].words.size(), 3U);
  EXPECT_EQ(steps[0].words[1].text, u"Winamp v1.x");
  EXPECT_TRUE(steps[0].words[1].quoted);
  EXPECT_EQ(steps[0].words[2].text, u"A \"quoted\" \\ title");
  EXPECT_EQ(steps[0].source, "window \"Winamp v1.x\" \"A \\\"quoted\\\" \\\\ title\"");
  EXPECT_EQ(steps[1].words[1].text, u"Ann\u00a0XA\r\n");
  EXPECT_FALSE(steps[2].words[1].quoted);
  EXPECT_EQ(steps[2].words[1].text, u"3");
}

TEST(ScenarioParser, KeepsAHashInsideAStringAndReadsUtf8) {
  const auto steps = Parse("name \"#1 \xe6\x97\xa5\xf0\x9f\x8e\xb5\"\n");
  ASSERT_EQ(steps.size(), 1U);
  EXPECT_EQ(steps[0].words[1].text, u"#1 \u65e5\U0001F3B5");
}

TEST(ScenarioParser, RefusesWhatItCannotReadWithTheLine) {
  const char* const bad[] = {
      "tick\nname \"unterminated\n",  // line 2
      "tick\nname \"\\q\"\n",         // unknown escape
      "tick\nname \"\\u12\"\n",       // short \u
      "tick\nname \"\\xZZ\"\n",       // bad hex
      "tick\nname \"\xff\"\n",        // not UTF-8
      "tick\nname ab\"c\"\n",         // quote inside a word
  };
  for (const char* text : bad) {
    try {
      Parse(text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const ScenarioError& error) {
      EXPECT_EQ(error.Line(), 2) << text;
    }
  }
}

TEST(ScenarioText, QuotesAndConvertsBothWays) {
  EXPECT_EQ(Quote(u"a\"b\\c\u00a0\r\n"), "\"a\\\"b\\\\c\\u00a0\\r\\n\"");
  const std::u16string text = u"caf\u00e9 \u65e5 \U0001F3B5";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(ToUtf8(std::u16string(1, u'\xd800')), "\xef\xbf\xbd") << "a lone surrogate";
}

}  // namespace
}  // namespace tb::scenario
