#include <gtest/gtest.h>

#include "common/text.h"

namespace tb {
namespace {

TEST(Text, PartBeforeTakesAllWhenTheSeparatorIsEmptyOrAbsent) {
  EXPECT_EQ(PartBefore(u"Ann\u00a0 song\u00a0 more", u"\u00a0"), u"Ann");
  EXPECT_EQ(PartBefore(u"Ann", u"\u00a0"), u"Ann");
  EXPECT_EQ(PartBefore(u"Ann >> x", u""), u"Ann >> x");
  EXPECT_EQ(PartBefore(u"\u00a0x", u"\u00a0"), u"");
  EXPECT_EQ(PartBefore(u"Ann PLAYING x", u"playing"), u"Ann PLAYING x") << "case-sensitive";
}

TEST(Text, SingleLineTurnsEachLineBreakIntoOneBlank) {
  EXPECT_EQ(SingleLine(u"a\r\nb\nc\rd"), u"a b c d");
  EXPECT_EQ(SingleLine(u"a\r\n\r\nb"), u"a  b");
  EXPECT_EQ(SingleLine(u"a\u2028b\u2029c\u0085d"), u"a b c d");
  EXPECT_EQ(SingleLine(u"\r"), u" ");
  EXPECT_EQ(SingleLine(u"plain \t text"), u"plain \t text");
}

TEST(Text, CaseIsIgnoredForAsciiLettersOnly) {
  EXPECT_TRUE(EqualsIgnoringCase(u"(!xwptitle)", u"(!XWPTITLE)"));
  EXPECT_FALSE(EqualsIgnoringCase(u"(!XWPTITLE", u"(!XWPTITLE)"));
  EXPECT_FALSE(EqualsIgnoringCase(u"\u00e9", u"\u00c9"));
  EXPECT_EQ(LowerCase(u"/XtBgOn \u00c9"), u"/xtbgon \u00c9");
}

}  // namespace
}  // namespace tb
