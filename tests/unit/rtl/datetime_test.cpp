#include "rtl/datetime.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <iomanip>
#include <tuple>

#include "rtl/exceptions.h"

namespace qor::rtl {
namespace {

constexpr double kMSec = 1.0 / 86400000;

TEST(EncodeDate, DaysSince18991230) {
  struct Case {
    int Y, M, D;
    double Days;
  } const cases[] = {
      {1899, 12, 30, 0},   {1899, 12, 29, -1},  {1900, 1, 1, 2},       {1900, 3, 1, 61},
      {2000, 1, 1, 36526}, {2000, 2, 29, 36585}, {2017, 3, 5, 42799},  {1, 1, 1, -693593},
      {9999, 12, 31, 2958465},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Y << "-" << c.M << "-" << c.D);
    EXPECT_EQ(EncodeDate(c.Y, c.M, c.D), c.Days);
    const TDateParts p = DecodeDate(c.Days);
    EXPECT_EQ(p.Year, c.Y);
    EXPECT_EQ(p.Month, c.M);
    EXPECT_EQ(p.Day, c.D);
  }
}

TEST(EncodeDate, RejectsOutOfRangeParts) {
  TDate d = 7;
  for (auto [y, m, dd] : {std::tuple{0, 1, 1}, {10000, 1, 1}, {2017, 0, 1}, {2017, 13, 1}, {2017, 2, 29},
                          {1900, 2, 29}, {2017, 4, 31}, {2017, 1, 0}}) {
    EXPECT_FALSE(TryEncodeDate(y, m, dd, d));
  }
  EXPECT_EQ(d, 7);
  EXPECT_TRUE(TryEncodeDate(2000, 2, 29, d));
  EXPECT_THROW(EncodeDate(2017, 2, 29), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
  EXPECT_THROW(EncodeTime(-1, 0, 0, 0), EConvertError);
}

TEST(DecodeDate, EveryDayOfFourHundredYearsRoundTrips) {
  // One full Gregorian cycle around the epoch covers every leap-year rule.
  const int start = static_cast<int>(EncodeDate(1800, 1, 1));
  const int end = static_cast<int>(EncodeDate(2200, 1, 1));
  int expectedWeekday = DayOfWeek(start);
  for (int day = start; day < end; ++day) {
    const TDateParts p = DecodeDate(day);
    ASSERT_EQ(EncodeDate(p.Year, p.Month, p.Day), day) << day;
    ASSERT_EQ(DayOfWeek(day), expectedWeekday) << day;
    expectedWeekday = expectedWeekday % 7 + 1;
  }
  EXPECT_EQ(DayOfWeek(EncodeDate(2017, 3, 5)), 1);  // a Sunday
  EXPECT_EQ(DayOfWeek(0), 7);                       // 1899-12-30 was a Saturday
}

TEST(DecodeTime, RoundsToTheMillisecondBeforeSplitting) {
  const TDate day = EncodeDate(2017, 3, 5);
  const TDateTime t = EncodeDateTime(2017, 3, 5, 13, 7, 9, 250);
  struct Case {
    TDateTime Value;
    int Y, M, D, H, N, S, Z;
  } const cases[] = {
      {t, 2017, 3, 5, 13, 7, 9, 250},
      {t + 0.4 * kMSec, 2017, 3, 5, 13, 7, 9, 250},
      {t + 0.6 * kMSec, 2017, 3, 5, 13, 7, 9, 251},
      {t - 0.6 * kMSec, 2017, 3, 5, 13, 7, 9, 249},
      {EncodeDateTime(2017, 3, 5, 13, 7, 9, 999) + 0.6 * kMSec, 2017, 3, 5, 13, 7, 10, 0},
      // just short of midnight rounds into the next day, date included
      {day + 1 - 0.3 * kMSec, 2017, 3, 6, 0, 0, 0, 0},
      {day + 1 - 0.7 * kMSec, 2017, 3, 5, 23, 59, 59, 999},
      // before 1899-12-30 the date is the truncation and the time the absolute fraction
      {-1.25, 1899, 12, 29, 6, 0, 0, 0},
      {-0.5, 1899, 12, 30, 12, 0, 0, 0},
      {-693593.75, 1, 1, 1, 18, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::setprecision(17) << c.Value);
    const TDateParts p = DecodeDate(c.Value);
    const TTimeParts q = DecodeTime(c.Value);
    EXPECT_EQ((std::array{p.Year, p.Month, p.Day, q.Hour, q.Minute, q.Second, q.MSec}),
              (std::array{c.Y, c.M, c.D, c.H, c.N, c.S, c.Z}));
  }
}

TEST(EncodeDateTime, NegativeDatesSubtractTheTime) {
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
  EXPECT_EQ(EncodeDateTime(1899, 12, 30, 6, 0, 0, 0), 0.25);
  EXPECT_EQ(EncodeDateTime(1899, 12, 31, 18, 0, 0, 0), 1.75);
  for (TDateTime v : {-1000.125, -3.5, 12345.678}) {
    const TDateParts p = DecodeDate(v);
    const TTimeParts t = DecodeTime(v);
    EXPECT_NEAR(EncodeDateTime(p.Year, p.Month, p.Day, t.Hour, t.Minute, t.Second, t.MSec), v, kMSec / 2);
  }
}

TEST(DecodeDate, ValuesOutsideTheCalendarRaise) {
  EXPECT_THROW(DecodeDate(2958466.0), EConvertError);
  EXPECT_THROW(DecodeDate(-693594.0), EConvertError);
  EXPECT_THROW(DecodeTime(std::nan("")), EConvertError);
  EXPECT_THROW(FormatDateTime(u"yyyy", 1e300), EConvertError);
  EXPECT_NO_THROW(DecodeDate(2958465.99999));
}

class FormatDateTimeTest : public testing::Test {
 protected:
  TFormatSettings S = NeutralFormatSettings();
  TDateTime Afternoon = EncodeDateTime(2017, 3, 5, 13, 7, 9, 250);   // a Sunday
  TDateTime Morning = EncodeDateTime(2017, 11, 25, 9, 5, 3, 7);     // a Saturday
  String F(StringView format, TDateTime v) { return FormatDateTime(format, v, S); }
};

TEST_F(FormatDateTimeTest, EachSpecifier) {
  struct Case {
    const char16_t* Format;
    const char16_t* Afternoon;
    const char16_t* Morning;
  } const cases[] = {
      {u"d", u"5", u"25"},
      {u"dd", u"05", u"25"},
      {u"ddd", u"Sun", u"Sat"},
      {u"dddd", u"Sunday", u"Saturday"},
      {u"ddddd", u"03/05/2017", u"11/25/2017"},
      {u"dddddd", u"Sunday, 05 March 2017", u"Saturday, 25 November 2017"},
      {u"m", u"3", u"11"},
      {u"mm", u"03", u"11"},
      {u"mmm", u"Mar", u"Nov"},
      {u"mmmm", u"March", u"November"},
      {u"y", u"17", u"17"},
      {u"yy", u"17", u"17"},
      {u"yyyy", u"2017", u"2017"},
      {u"e", u"2017", u"2017"},
      {u"h", u"13", u"9"},
      {u"hh", u"13", u"09"},
      {u"n", u"7", u"5"},
      {u"nn", u"07", u"05"},
      {u"s", u"9", u"3"},
      {u"ss", u"09", u"03"},
      {u"z", u"250", u"7"},
      {u"zzz", u"250", u"007"},
      {u"t", u"13:07", u"09:05"},
      {u"tt", u"13:07:09", u"09:05:03"},
      {u"c", u"03/05/2017 13:07:09", u"11/25/2017 09:05:03"},
      {u"am/pm", u"pm", u"am"},
      {u"AM/PM", u"PM", u"AM"},
      {u"a/p", u"p", u"a"},
      {u"A/P", u"P", u"A"},
      {u"ampm", u"PM", u"AM"},
      {u"h:nn am/pm", u"1:07 pm", u"9:05 am"},
      {u"hh AMPM", u"01 PM", u"09 AM"},
      {u"hh:mm", u"13:07", u"09:05"},
      {u"h:mm:ss", u"13:07:09", u"9:05:03"},
      {u"hh' h 'mm", u"13 h 07", u"09 h 05"},
      {u"hh dd mm", u"13 05 03", u"09 25 11"},
      {u"mm/dd/yyyy", u"03/05/2017", u"11/25/2017"},
      {u"'yyyy' yyyy", u"yyyy 2017", u"yyyy 2017"},
      {u"\"at\" hh", u"at 13", u"at 09"},
      {u"'it''s'", u"its", u"its"},
      {u"yyyy.mm.dd hh-nn", u"2017.03.05 13-07", u"2017.11.25 09-05"},
      {u"hh:nn:ss", u"13:07:09", u"09:05:03"},
      {u"dd-mm_yyyy #", u"05-03_2017 #", u"25-11_2017 #"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(StringToUtf8(c.Format));
    EXPECT_EQ(F(c.Format, Afternoon), c.Afternoon);
    EXPECT_EQ(F(c.Format, Morning), c.Morning);
  }
}

TEST_F(FormatDateTimeTest, SpecifiersIgnoreLetterCase) {
  for (const char16_t* format : {u"dd.mm.yyyy", u"dd.MM.yyyy", u"DD.MM.YYYY", u"Dd.mM.YyYy"})
    EXPECT_EQ(F(format, Afternoon), u"05.03.2017") << StringToUtf8(format);
  EXPECT_EQ(F(u"HH:MM:SS.ZZZ", Morning), u"09:05:03.007");
  EXPECT_EQ(F(u"HH:NN", Morning), u"09:05");
}

TEST_F(FormatDateTimeTest, SeparatorsComeFromTheSettings) {
  S.DateSeparator = u'.';
  S.TimeSeparator = u'-';
  EXPECT_EQ(F(u"dd/mm/yyyy hh:nn", Afternoon), u"05.03.2017 13-07");
  EXPECT_EQ(F(u"'/:' /", Afternoon), u"/: .");
}

TEST_F(FormatDateTimeTest, TwelveHourClockAroundMidnightAndNoon) {
  EXPECT_EQ(F(u"h:nn am/pm", EncodeTime(0, 30, 0, 0)), u"12:30 am");
  EXPECT_EQ(F(u"h:nn am/pm", EncodeTime(12, 30, 0, 0)), u"12:30 pm");
  EXPECT_EQ(F(u"h:nn am/pm", EncodeTime(23, 59, 0, 0)), u"11:59 pm");
  // A marker after the next hour belongs to that hour only.
  EXPECT_EQ(F(u"h h am/pm", EncodeTime(15, 0, 0, 0)), u"15 3 pm");
  // A marker inside quotes is text.
  EXPECT_EQ(F(u"h 'am/pm'", EncodeTime(15, 0, 0, 0)), u"15 am/pm");
}

TEST_F(FormatDateTimeTest, DateTimeLeavesOutAMidnightTime) {
  EXPECT_EQ(F(u"c", EncodeDate(2017, 3, 5)), u"03/05/2017");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2017, 3, 5), S), u"03/05/2017");
  EXPECT_EQ(DateToStr(Afternoon, S), u"03/05/2017");
  EXPECT_EQ(TimeToStr(Afternoon, S), u"13:07:09");
  EXPECT_EQ(F(u"", Afternoon), u"03/05/2017 13:07:09");
}

TEST_F(FormatDateTimeTest, SelfReferringPatternsDoNotRecurseForever) {
  S.ShortDateFormat = u"ddddd";
  S.LongTimeFormat = u"c tt";
  EXPECT_NO_THROW(F(u"c", Afternoon));
  EXPECT_NO_THROW(F(u"ddddd tt", Afternoon));
}

TEST_F(FormatDateTimeTest, PreferenceAndStartupPatterns) {
  S.DateSeparator = u'.';
  S.ShortDateFormat = u"dd.MM.yyyy";
  S.LongTimeFormat = u"h:mm:ss";
  const TDateTime t = EncodeDateTime(2017, 3, 5, 13, 7, 9, 0);
  EXPECT_EQ(F(S.ShortDateFormat, t), u"05.03.2017");
  EXPECT_EQ(F(S.LongTimeFormat, t), u"13:07:09");
  EXPECT_EQ(F(S.LongTimeFormat, EncodeTime(9, 5, 0, 0)), u"9:05:00");
  EXPECT_EQ(F(u"dd.mm.yyyy", t), u"05.03.2017");
  EXPECT_EQ(F(u"hh:mm:ss.zzz", EncodeTime(13, 7, 9, 5)), u"13:07:09.005");
}

class StrToDateTest : public testing::Test {
 protected:
  StrToDateTest() {
    Dots.DateSeparator = u'.';
    Dots.ShortDateFormat = u"dd.MM.yyyy";
  }
  TFormatSettings Dots = NeutralFormatSettings();
  TFormatSettings Neutral = NeutralFormatSettings();
};

TEST_F(StrToDateTest, DayMonthYearInTheOrderOfTheShortDateFormat) {
  const TDate expected = EncodeDate(2017, 3, 5);
  EXPECT_EQ(StrToDate(u"05.03.2017", Dots), expected);
  EXPECT_EQ(StrToDate(u"5.3.2017", Dots), expected);
  EXPECT_EQ(StrToDate(u"  05.03.2017 ", Dots), expected);
  EXPECT_EQ(StrToDate(u"03/05/2017", Neutral), expected);
  TFormatSettings ymd = Neutral;
  ymd.ShortDateFormat = u"yyyy-mm-dd";
  ymd.DateSeparator = u'-';
  EXPECT_EQ(StrToDate(u"2017-03-05", ymd), expected);
  EXPECT_EQ(StrToDate(u"29.12.1899", Dots), -1);
}

TEST_F(StrToDateTest, RejectsMalformedDates) {
  for (const char16_t* text : {u"", u" ", u"05.03", u"05.03.", u"05/03/2017", u"31.02.2017", u"00.01.2017",
                               u"05.13.2017", u"05.03.17", u"05.03.2017x", u"05.03.2017 13:07", u"05..03.2017",
                               u"5.3.10000", u"a.b.c", u"05. 03.2017", u"-5.3.2017"}) {
    SCOPED_TRACE(StringToUtf8(text));
    TDate d = 99;
    EXPECT_FALSE(TryStrToDate(text, d, Dots));
    EXPECT_EQ(d, 99);
  }
  try {
    StrToDate(u"31.02.2017", Dots);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"''31.02.2017'' is not a valid date");
  }
}

TEST_F(StrToDateTest, DateAndTime) {
  struct Case {
    const char16_t* Text;
    TDateTime Expected;
  } const cases[] = {
      {u"05.03.2017", EncodeDate(2017, 3, 5)},
      {u"05.03.2017 13:07:09", EncodeDateTime(2017, 3, 5, 13, 7, 9, 0)},
      {u"05.03.2017 9:05", EncodeDateTime(2017, 3, 5, 9, 5, 0, 0)},
      {u"05.03.2017  13:07:09.250", EncodeDateTime(2017, 3, 5, 13, 7, 9, 250)},
      {u"05.03.2017 13:07:09.5", EncodeDateTime(2017, 3, 5, 13, 7, 9, 500)},
      {u"05.03.2017 1:07 PM", EncodeDateTime(2017, 3, 5, 13, 7, 0, 0)},
      {u"05.03.2017 12:00 am", EncodeDate(2017, 3, 5)},
      {u"05.03.2017 12:00 pm", EncodeDateTime(2017, 3, 5, 12, 0, 0, 0)},
      {u"05.03.2017 13", EncodeDateTime(2017, 3, 5, 13, 0, 0, 0)},
      {u"29.12.1899 06:00", -1.25},
      {u"13:07", EncodeTime(13, 7, 0, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(StringToUtf8(c.Text));
    EXPECT_EQ(StrToDateTime(c.Text, Dots), c.Expected);
  }
  for (const char16_t* text : {u"", u"05.03.201713:07", u"05.03.2017 24:00", u"05.03.2017 13:60",
                               u"05.03.2017 13:07:09 junk", u"05.03.2017 13:07 PM", u"05.03.2017 0:30 am",
                               u"05.03.2017 13:07:09.1234", u"05.03.2017 13:", u"05.03.2017T13:07"}) {
    SCOPED_TRACE(StringToUtf8(text));
    TDateTime v = 99;
    EXPECT_FALSE(TryStrToDateTime(text, v, Dots));
    EXPECT_EQ(v, 99);
  }
  try {
    StrToDateTime(u"05.03.2017 25:00", Dots);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"''05.03.2017 25:00'' is not a valid date and time");
  }
  try {
    StrToTime(u"x", Dots);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"''x'' is not a valid time");
  }
}

TEST_F(StrToDateTest, WrittenTextReadsBackToTheMillisecond) {
  const String pattern = u"dd.mm.yyyy hh:nn:ss.zzz";
  for (TDateTime v = -700.3; v < 60000; v += 1234.56789) {
    const String text = FormatDateTime(pattern, v, Dots);
    SCOPED_TRACE(StringToUtf8(text));
    const TDateTime back = StrToDateTime(text, Dots);
    EXPECT_NEAR(back, v, kMSec / 2 + 1e-9);
    EXPECT_EQ(FormatDateTime(pattern, back, Dots), text);
  }
}

}  // namespace
}  // namespace qor::rtl
