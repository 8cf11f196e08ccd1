#include <gtest/gtest.h>

#include "platform/sim/code_page.h"

namespace tb {
namespace {

TEST(SimCodePage, EveryByteMapsToACharacterAndBack) {
  const sim::SimCodePage codePage;
  std::string all;
  for (int byte = 0; byte < 256; ++byte) {
    all.push_back(static_cast<char>(byte));
  }
  const std::u16string text = codePage.FromAnsi(all);
  ASSERT_EQ(text.size(), 256U);
  EXPECT_EQ(codePage.ToAnsi(text), all);
}

TEST(SimCodePage, IsWindows1252) {
  const sim::SimCodePage codePage;
  EXPECT_EQ(codePage.FromAnsi("\x80\xA0\xE9\x81\x9F"), u"\u20ac\u00a0\u00e9\u0081\u0178");
  EXPECT_EQ(codePage.ToAnsi(u"\u2019"), "\x92") << "right single quote";
  EXPECT_EQ(codePage.ToAnsi(u"\u00a0"), "\xA0") << "the no-break space is byte 160";
}

TEST(SimCodePage, TextTheCodePageLacksBecomesQuestionMarks) {
  const sim::SimCodePage codePage;
  EXPECT_EQ(codePage.ToAnsi(u"\u65e5\u672c"), "??");
  EXPECT_EQ(codePage.ToAnsi(u"a\u03a9b"), "a?b");
  EXPECT_EQ(codePage.ToAnsi(std::u16string(u"a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace
}  // namespace tb
