#include "rtl/strings.h"

#include <gtest/gtest.h>

namespace qor::rtl {
namespace {

TEST(Utf8, RoundTripsEveryPlane) {
  const String text = u"A\u00E9\u0416\u20AC\U0001F600z";
  const std::string utf8 = StringToUtf8(text);
  EXPECT_EQ(utf8, "A\xC3\xA9\xD0\x96\xE2\x82\xAC\xF0\x9F\x98\x80z");
  EXPECT_EQ(Utf8ToString(utf8), text);
}

TEST(Utf8, InvalidInputBecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToString("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(Utf8ToString("\xC3"), u"\uFFFD");                // truncated
  EXPECT_EQ(Utf8ToString("\xC0\xAF"), u"\uFFFD\uFFFD");      // overlong
  EXPECT_EQ(Utf8ToString("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
  EXPECT_EQ(StringToUtf8(String(1, char16_t(0xD800))), "\xEF\xBF\xBD");  // lone surrogate
}

TEST(Casing, AsciiOnlyAndUnicode) {
  EXPECT_EQ(AsciiUpperCase(u"abc\u00E9\u0436"), u"ABC\u00E9\u0436");
  EXPECT_EQ(AsciiLowerCase(u"ABC\u00C9\u0416"), u"abc\u00C9\u0416");
  EXPECT_EQ(UpperCase(u"abc\u00E9\u0436\u0451\u03B1\u0457"), u"ABC\u00C9\u0416\u0401\u0391\u0407");
  EXPECT_EQ(LowerCase(u"ABC\u00C9\u0416\u0401\u0391\u0407"), u"abc\u00E9\u0436\u0451\u03B1\u0457");
  EXPECT_TRUE(SameTextAscii(u"Export", u"eXPORT"));
  EXPECT_FALSE(SameTextAscii(u"\u0416", u"\u0436"));
  EXPECT_FALSE(SameTextAscii(u"ab", u"abc"));
}

TEST(Trim, BlanksAndControlCharacters) {
  EXPECT_EQ(Trim(u" \t\r\n x y \x01"), u"x y");
  EXPECT_EQ(TrimLeft(u"  x "), u"x ");
  EXPECT_EQ(TrimRight(u"  x \n"), u"  x");
  EXPECT_EQ(Trim(u" \t "), u"");
  EXPECT_EQ(Trim(u"\u00A0x\u00A0"), u"\u00A0x\u00A0");  // no-break space is not a blank
}

TEST(StringReplace, EveryOccurrence) {
  EXPECT_EQ(StringReplace(u"D:\\bin\\x\\bin", u"bin", u"upd"), u"D:\\upd\\x\\upd");
  EXPECT_EQ(StringReplace(u"a\\BIN", u"bin", u"upd"), u"a\\BIN");
  EXPECT_EQ(StringReplace(u"job_@@PARAM@_@@param@", u"@@param@", u"x", true), u"job_x_x");
  EXPECT_EQ(StringReplace(u"aaa", u"aa", u"b"), u"ba");
  EXPECT_EQ(StringReplace(u"abc", u"", u"x"), u"abc");
}

TEST(IntToStr, FullRange) {
  EXPECT_EQ(IntToStr(0), u"0");
  EXPECT_EQ(IntToStr(-5), u"-5");
  EXPECT_EQ(IntToStr(-9223372036854775807LL - 1), u"-9223372036854775808");
}

}  // namespace
}  // namespace qor::rtl
