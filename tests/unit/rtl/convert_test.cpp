#include "rtl/convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "rtl/exceptions.h"

namespace qor::rtl {
namespace {

struct IntCase {
  const char16_t* Text;
  bool Valid;
  std::int64_t Value;
};

TEST(StrToInt, AcceptsBlanksSignsAndHexPrefixes) {
  const IntCase cases[] = {
      {u"4", true, 4},           {u" 4", true, 4},          {u"   -17", true, -17},
      {u"+5", true, 5},          {u"0010", true, 10},       {u"$10", true, 16},
      {u"x1f", true, 31},        {u"X1F", true, 31},        {u"0x1F", true, 31},
      {u"0X1f", true, 31},       {u"-$10", true, -16},      {u"+0x10", true, 16},
      {u"2147483647", true, 2147483647},                    {u"-2147483648", true, -2147483648LL},
      {u"$7FFFFFFF", true, 2147483647},                     {u"-$80000000", true, -2147483648LL},
      {u"", false, 0},           {u" ", false, 0},          {u"4a", false, 0},
      {u"4 ", false, 0},         {u"a4", false, 0},         {u"- 4", false, 0},
      {u"--4", false, 0},        {u"$", false, 0},          {u"0x", false, 0},
      {u"$-10", false, 0},       {u"1.0", false, 0},        {u"\t4", false, 0},
      {u"2147483648", false, 0}, {u"-2147483649", false, 0}, {u"99999999999999999999", false, 0},
      // hexadecimal digits are the two's complement of the 32 bits
      {u"$FFFFFFFF", true, -1},  {u"$80000000", true, -2147483648LL}, {u"0x80000001", true, -2147483647},
      {u"-$FFFFFFFF", true, 1},  {u"$0000000FF", true, 255},          {u"$100000000", false, 0},
      {u"-$100000000", false, 0}, {u"$FFFFFFFFF", false, 0},
  };
  for (const IntCase& c : cases) {
    SCOPED_TRACE(StringToUtf8(c.Text));
    std::int32_t v = 12345;
    ASSERT_EQ(TryStrToInt(c.Text, v), c.Valid);
    if (c.Valid) {
      EXPECT_EQ(v, c.Value);
      EXPECT_EQ(StrToInt(c.Text), c.Value);
    } else {
      EXPECT_EQ(v, 12345) << "a failed conversion leaves the result alone";
    }
  }
}

TEST(StrToInt, ErrorMessageQuotesTheTextWithDoubledApostrophes) {
  try {
    StrToInt(u"4a");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"''4a'' is not a valid integer value");
  }
  try {
    StrToInt(u"$100000000");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"''$100000000'' is not a valid integer value");
  }
  try {
    StrToInt64(u"");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"'''' is not a valid integer value");
  }
}

TEST(StrToInt64, FullRangeAndOverflow) {
  const IntCase cases[] = {
      {u"9223372036854775807", true, std::numeric_limits<std::int64_t>::max()},
      {u"-9223372036854775808", true, std::numeric_limits<std::int64_t>::min()},
      {u"$7FFFFFFFFFFFFFFF", true, std::numeric_limits<std::int64_t>::max()},
      {u"-0x8000000000000000", true, std::numeric_limits<std::int64_t>::min()},
      {u" 2147483648", true, 2147483648LL},
      {u"9223372036854775808", false, 0},
      {u"-9223372036854775809", false, 0},
      {u"$8000000000000000", true, std::numeric_limits<std::int64_t>::min()},
      {u"$FFFFFFFFFFFFFFFF", true, -1},
      {u"$FFFFFFFF", true, 4294967295LL},
      {u"18446744073709551616", false, 0},
      {u"$10000000000000000", false, 0},
  };
  for (const IntCase& c : cases) {
    SCOPED_TRACE(StringToUtf8(c.Text));
    std::int64_t v = 0;
    ASSERT_EQ(TryStrToInt64(c.Text, v), c.Valid);
    if (c.Valid) {
      EXPECT_EQ(v, c.Value);
    }
  }
  EXPECT_THROW(StrToInt64(u"9223372036854775808"), EConvertError);
}

struct FloatTextCase {
  Extended Value;
  const char16_t* Text;
};

TEST(FloatToStr, GeneralFormatWithFifteenDigits) {
  const FloatTextCase cases[] = {
      {0, u"0"},
      {-0.0, u"0"},
      {1, u"1"},
      {-2.5, u"-2.5"},
      {0.1 + 0.2, u"0.3"},
      {1.0 / 3, u"0.333333333333333"},
      {2.0 / 3, u"0.666666666666667"},
      {0.125, u"0.125"},
      {2.675, u"2.675"},
      {123456.789, u"123456.789"},
      {999999999999999.0, u"999999999999999"},
      {100000000000000.0, u"100000000000000"},
      // exponent form from 1E15 up and below 0.00001
      {1e15, u"1E15"},
      {9999999999999999.0, u"1E16"},
      {1234567890123456789.0, u"1.23456789012346E18"},
      {-1.5e300, u"-1.5E300"},
      {0.00001, u"0.00001"},
      {0.0000123, u"0.0000123"},
      {0.000001, u"1E-6"},
      {1.5e-7, u"1.5E-7"},
      {-2.25e-10, u"-2.25E-10"},
      {1e-300, u"1E-300"},
      {std::numeric_limits<Extended>::infinity(), u"INF"},
      {-std::numeric_limits<Extended>::infinity(), u"-INF"},
      {std::numeric_limits<Extended>::quiet_NaN(), u"NAN"},
  };
  for (const FloatTextCase& c : cases) {
    SCOPED_TRACE(StringToUtf8(c.Text));
    EXPECT_EQ(FloatToStr(c.Value, NeutralFormatSettings()), c.Text);
  }
}

TEST(FloatToStr, UsesTheDecimalSeparatorOfTheSettings) {
  TFormatSettings s = NeutralFormatSettings();
  s.DecimalSeparator = u',';
  s.ThousandSeparator = u' ';
  EXPECT_EQ(FloatToStr(1234.5, s), u"1234,5");
  EXPECT_EQ(FloatToStr(1.5e-7, s), u"1,5E-7");
}

TEST(FloatToStr, TextReadsBackToTheValueAtFifteenDigits) {
  const TFormatSettings s = NeutralFormatSettings();
  for (Extended v : {0.1L, 1.0L / 3, 123.456L, 1e15L, 2.5e-7L, -9.87654321e100L, 6.02214076e23L}) {
    const String text = FloatToStr(v, s);
    SCOPED_TRACE(StringToUtf8(text));
    const Extended back = StrToFloat(text, s);
    EXPECT_NEAR(static_cast<double>(back / v), 1.0, 1e-14);
    EXPECT_EQ(FloatToStr(back, s), text);
  }
}

TEST(FloatToStrF, FixedNumberExponentAndCurrency) {
  TFormatSettings s = NeutralFormatSettings();
  EXPECT_EQ(FloatToStrF(1234.5678, TFloatFormat::ffFixed, 15, 2, s), u"1234.57");
  EXPECT_EQ(FloatToStrF(0.125, TFloatFormat::ffFixed, 15, 2, s), u"0.13");
  EXPECT_EQ(FloatToStrF(-0.001, TFloatFormat::ffFixed, 15, 2, s), u"0.00");
  EXPECT_EQ(FloatToStrF(123.456, TFloatFormat::ffFixed, 4, 2, s), u"123.50");
  EXPECT_EQ(FloatToStrF(1e20, TFloatFormat::ffFixed, 15, 2, s), u"1.00000000000000E+020");
  EXPECT_EQ(FloatToStrF(1234567.891, TFloatFormat::ffNumber, 15, 2, s), u"1,234,567.89");
  EXPECT_EQ(FloatToStrF(-999.999, TFloatFormat::ffNumber, 15, 2, s), u"-1,000.00");
  EXPECT_EQ(FloatToStrF(1234.5, TFloatFormat::ffExponent, 4, 2, s), u"1.235E+03");
  EXPECT_EQ(FloatToStrF(0.00012, TFloatFormat::ffExponent, 3, 0, s), u"1.20E-4");
  EXPECT_EQ(FloatToStrF(1e20, TFloatFormat::ffGeneral, 15, 3, s), u"1E020");
  s.CurrencyString = u"$";
  EXPECT_EQ(FloatToStrF(1234.5, TFloatFormat::ffCurrency, 15, 2, s), u"$1,234.50");
  s.CurrencyFormat = 3;
  s.NegCurrFormat = 8;
  s.CurrencyString = u"р.";
  EXPECT_EQ(FloatToStrF(-5, TFloatFormat::ffCurrency, 15, 2, s), u"-5.00 р.");
  EXPECT_EQ(FloatToStrF(5, TFloatFormat::ffCurrency, 15, 0, s), u"5 р.");
}

// Rounded from the value's 18 significant digits, not from its 15-digit text;
// precision still limits the digits, Digits stops at 18.
TEST(FloatToStrF, FixedRoundsTheValueItself) {
  struct Case {
    Extended Value;
    int Precision, Digits;
    const char16_t* Text;
  } const cases[] = {
      {1.005, 15, 2, u"1.00"},
      {2.675, 15, 2, u"2.67"},
      {0.015, 15, 2, u"0.01"},
      {0.045, 15, 2, u"0.04"},
      {0.95, 15, 1, u"0.9"},
      {-2.675, 18, 2, u"-2.67"},
      {0.125, 15, 2, u"0.13"},
      {1.5, 15, 25, u"1.500000000000000000"},
      {0.1L, 18, 20, u"0.100000000000000000"},
      {999999999999999.9, 15, 2, u"1.00000000000000E+015"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(StringToUtf8(c.Text));
    EXPECT_EQ(FloatToStrF(c.Value, TFloatFormat::ffFixed, c.Precision, c.Digits, NeutralFormatSettings()), c.Text);
  }
  // The general form keeps its 15 digits.
  EXPECT_EQ(FloatToStr(1.005, NeutralFormatSettings()), u"1.005");
  EXPECT_EQ(FloatToStr(0.045, NeutralFormatSettings()), u"0.045");
}

struct FloatParseCase {
  const char16_t* Text;
  bool Valid;
  Extended Value;
};

TEST(StrToFloat, ReadsWithTheSettingsDecimalSeparator) {
  TFormatSettings dot = NeutralFormatSettings();
  TFormatSettings comma = dot;
  comma.DecimalSeparator = u',';
  const FloatParseCase dotCases[] = {
      {u"1.5", true, 1.5},    {u" -2.25 ", true, -2.25}, {u"+3", true, 3},     {u"1E15", true, 1e15},
      {u"1.5e-7", true, 1.5e-7}, {u"2E+3", true, 2000}, {u".5", true, 0.5},   {u"7.", true, 7},
      {u"1,5", false, 0},     {u"", false, 0},           {u"-", false, 0},     {u".", false, 0},
      {u"1e", false, 0},      {u"1e+", false, 0},        {u"1.2.3", false, 0}, {u"1 000", false, 0},
      {u"INF", false, 0},     {u"nan", false, 0},        {u"0x10", false, 0},  {u"1e99999", false, 0},
      {u"1,234.5", false, 0},
  };
  for (const FloatParseCase& c : dotCases) {
    SCOPED_TRACE(StringToUtf8(c.Text));
    Extended v = -1;
    ASSERT_EQ(TryStrToFloat(c.Text, v, dot), c.Valid);
    if (c.Valid) {
      EXPECT_DOUBLE_EQ(static_cast<double>(v), static_cast<double>(c.Value));
    }
  }
  Extended v = 0;
  EXPECT_TRUE(TryStrToFloat(u"1,5", v, comma));
  EXPECT_DOUBLE_EQ(static_cast<double>(v), 1.5);
  EXPECT_FALSE(TryStrToFloat(u"1.5", v, comma));
}

TEST(StrToFloat, ErrorMessage) {
  try {
    StrToFloat(u"abc", NeutralFormatSettings());
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"''abc'' is not a valid floating point value");
  }
}

TEST(StrToBool, NumbersAndWordsInAnyCase) {
  struct Case {
    const char16_t* Text;
    bool Valid;
    bool Value;
  } const cases[] = {
      {u"true", true, true},   {u"TRUE", true, true},   {u"True", true, true}, {u"False", true, false},
      {u"fAlSe", true, false}, {u"0", true, false},     {u"2", true, true},    {u"-1", true, true},
      {u"0.0", true, false},   {u"0.5", true, true},    {u"yes", false, false}, {u"", false, false},
      {u" true", false, false}, {u"1,5", false, false},
  };
  const TFormatSettings saved = FormatSettings();
  FormatSettings() = NeutralFormatSettings();
  for (const Case& c : cases) {
    SCOPED_TRACE(StringToUtf8(c.Text));
    bool v = false;
    ASSERT_EQ(TryStrToBool(c.Text, v), c.Valid);
    if (c.Valid) {
      EXPECT_EQ(v, c.Value);
    }
  }
  // The number is read with the process-wide separator.
  FormatSettings().DecimalSeparator = u',';
  EXPECT_TRUE(StrToBool(u"0,5"));
  EXPECT_FALSE(StrToBool(u"0,0"));
  try {
    StrToBool(u"yes");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"'yes' is not a valid boolean value");
  }
  FormatSettings() = saved;
}

TEST(BoolToStr, NumericAndWordForms) {
  EXPECT_EQ(BoolToStr(true), u"-1");
  EXPECT_EQ(BoolToStr(false), u"0");
  EXPECT_EQ(BoolToStr(true, true), u"True");
  EXPECT_EQ(BoolToStr(false, true), u"False");
  EXPECT_TRUE(StrToBool(BoolToStr(true)));
}

}  // namespace
}  // namespace qor::rtl
