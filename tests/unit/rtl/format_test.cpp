#include "rtl/format.h"

#include <gtest/gtest.h>

#include <span>

#include "rtl/exceptions.h"

namespace qor::rtl {
namespace {

struct FormatCase {
  const char16_t* Format;
  TArgList Args;
  const char16_t* Expected;
};

void ExpectFormats(std::span<const FormatCase> cases) {
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(StringToUtf8(c.Format));
    EXPECT_EQ(Format(c.Format, c.Args, NeutralFormatSettings()), c.Expected);
  }
}

TEST(Format, Specifiers) {
  const FormatCase cases[] = {
      {u"plain", {}, u"plain"},
      {u"100%%", {}, u"100%"},
      {u"%s and %s", {u"a", String(u"b")}, u"a and b"},
      {u"[%s]", {u'c'}, u"[c]"},
      {u"%d", {-42}, u"-42"},
      {u"%d", {9223372036854775807LL}, u"9223372036854775807"},
      {u"%d", {static_cast<long long>(-9223372036854775807LL - 1)}, u"-9223372036854775808"},
      {u"%.5d", {-12}, u"-00012"},
      {u"%u", {42u}, u"42"},
      {u"%x", {255}, u"FF"},
      {u"%.4x", {255}, u"00FF"},
      {u"%f", {2.5}, u"2.50"},
      {u"%f", {0.125}, u"0.13"},
      {u"%f", {-0.004}, u"0.00"},
      {u"%.0f", {2.5}, u"3"},
      {u"%.3f", {1.0 / 3}, u"0.333"},
      {u"%f", {1e20}, u"100000000000000000000.00"},
      {u"%e", {1234.5}, u"1.23450000000000E+003"},
      {u"%.3e", {-0.000123456}, u"-1.23E-004"},
      {u"%g", {1e15}, u"1E15"},
      {u"%g", {0.5}, u"0.5"},
      {u"%.3g", {3.14159}, u"3.14"},
      {u"%n", {1234567.891}, u"1,234,567.89"},
      {u"%.0n", {-1234.5}, u"-1,235"},
      {u"%m", {12.5}, u"\u00A412.50"},
      {u"%m", {-12.5}, u"(\u00A412.50)"},
      {u"%5s|%-5s|", {u"ab", u"cd"}, u"   ab|cd   |"},
      {u"%.2s", {u"abcdef"}, u"ab"},
      {u"%6.2f", {3.14159}, u"  3.14"},
      {u"%-8.3d|", {7}, u"007     |"},
      {u"%*d", {4, 7}, u"   7"},
      {u"%-*.*f|", {7, 1, 2.25}, u"2.3    |"},
      {u"%1:s %0:s %s", {u"a", u"b", u"c"}, u"b a b"},
      {u"%2:s%s", {u"a", u"b", u"c", u"d"}, u"cd"},
      {u"%S %D %X", {u"up", 3, 10}, u"up 3 A"},
      {u"%d%%", {50}, u"50%"},
      {u"Action %s done in %f min", {u"IMPORT", 0.25}, u"Action IMPORT done in 0.25 min"},
      {u"%s", {u"\u0416\u0436"}, u"\u0416\u0436"},
  };
  ExpectFormats(cases);
}

// An Integer stays 32-bit and an Int64 64-bit, as their two's complement shows.
TEST(Format, IntegersKeepTheirWidth) {
  const FormatCase cases[] = {
      {u"%x", {-1}, u"FFFFFFFF"},
      {u"%u", {-1}, u"4294967295"},
      {u"%d", {-1}, u"-1"},
      {u"%x|%u", {-2147483647 - 1, -2147483647 - 1}, u"80000000|2147483648"},
      {u"%x", {-1LL}, u"FFFFFFFFFFFFFFFF"},
      {u"%u", {-1LL}, u"18446744073709551615"},
      {u"%d", {-1LL}, u"-1"},
      {u"%x", {static_cast<std::int64_t>(-4294967296LL)}, u"FFFFFFFF00000000"},
      {u"%d|%x", {4294967295u, 4294967295u}, u"4294967295|FFFFFFFF"},
      {u"%d", {18446744073709551615ULL}, u"-1"},
      {u"%.10x", {-1}, u"00FFFFFFFF"},
  };
  ExpectFormats(cases);
}

// The fixed formats round the value (its 18 significant digits), not a 15-digit
// text of it; decimals stop at 18.
TEST(Format, FixedFormatsRoundTheValueItself) {
  const FormatCase cases[] = {
      {u"%.2f", {1.005}, u"1.00"},
      {u"%.2f", {2.675}, u"2.67"},
      {u"%.2f", {0.015}, u"0.01"},
      {u"%.1f", {0.95}, u"0.9"},
      {u"%.2f", {-1.005}, u"-1.00"},
      {u"%.2f", {1.0051}, u"1.01"},
      {u"%.2n", {1002.675}, u"1,002.67"},
      {u"%m", {2.675}, u"\u00A42.67"},
      {u"%f", {123456789012345678.0L}, u"123456789012345678.00"},
      {u"%.0f", {1234567890123456789.0L}, u"1234567890123456790"},
      {u"%.20f", {0.1L}, u"0.100000000000000000"},
      {u"%.20f", {1.5}, u"1.500000000000000000"},
  };
  ExpectFormats(cases);
}

TEST(Format, PointerShowsAllHexDigitsOfTheAddress) {
  int x = 0;
  const String text = Format(u"%p", {static_cast<const void*>(&x)}, NeutralFormatSettings());
  EXPECT_EQ(text.size(), sizeof(void*) * 2);
  EXPECT_EQ(Format(u"%p", {static_cast<const void*>(nullptr)}, NeutralFormatSettings()),
            String(sizeof(void*) * 2, u'0'));
}

TEST(Format, FloatsUseTheDecimalSeparatorOfTheSettingsGivenOrTheProcessOnes) {
  TFormatSettings s = NeutralFormatSettings();
  s.DecimalSeparator = u',';
  s.ThousandSeparator = u' ';
  EXPECT_EQ(Format(u"%f|%n|%e|%g", {0.25, 1234.5, 1.5, 1.5}, s), u"0,25|1 234,50|1,50000000000000E+000|1,5");

  const TFormatSettings saved = FormatSettings();
  FormatSettings().DecimalSeparator = u',';
  EXPECT_EQ(Format(u"Action %s done in %f min", {u"IMPORT", 0.25}), u"Action IMPORT done in 0,25 min");
  FormatSettings() = saved;
}

TEST(Format, BadFormatsAndArgumentsRaiseConvertError) {
  struct Case {
    const char16_t* Format;
    TArgList Args;
  } const cases[] = {
      {u"%d", {1.5}},       {u"%d", {u"1"}},     {u"%f", {1}},          {u"%s", {1}},
      {u"%s", {true}},      {u"%x", {2.0}},      {u"%p", {1}},          {u"%q", {1}},
      {u"trailing %", {}},  {u"%5", {1}},        {u"%*d", {u"x", 1}},   {u"%.", {1}},
      {u"%99999999d", {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(StringToUtf8(c.Format));
    EXPECT_THROW(Format(c.Format, c.Args, NeutralFormatSettings()), EConvertError);
  }
  try {
    Format(u"%d", {u"x"});
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"Format '%d' invalid or incompatible with argument");
  }
}

TEST(Format, MissingArgumentsRaiseConvertError) {
  EXPECT_THROW(Format(u"%s %s", {u"one"}), EConvertError);
  EXPECT_THROW(Format(u"%3:s", {u"a", u"b"}), EConvertError);
  EXPECT_THROW(Format(u"%*d", {5}), EConvertError);
  try {
    Format(u"%s", {});
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"No argument for format '%s'");
  }
}

}  // namespace
}  // namespace qor::rtl
