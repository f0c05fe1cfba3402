// The substitute's built-in settings for Russian and US English, which it gives
// whatever locale data the system has, English for a locale the system lacks, and
// the translation of the system's strftime patterns for the other locales.
#ifndef _WIN32
#include <gtest/gtest.h>

#include "platform/posix/posix_services.h"

namespace qor::platform::testing {
namespace {

struct TLocaleCase {
  char16_t Decimal, Thousand, Date, List;
  const char16_t* Currency;
  unsigned char CurrencyFormat, NegCurrFormat;
  const char16_t* ShortDate;
  const char16_t* LongDate;
  const char16_t* ShortTime;
  const char16_t* LongTime;
  const char16_t* Am;
  const char16_t* September;
  const char16_t* ShortSunday;
  const char16_t* Saturday;
};

constexpr TLocaleCase kRussian = {u',', u'\u00A0', u'.', u';', u"р.", 3, 8, u"dd.MM.yyyy",
                                  u"d MMMM yyyy 'г.'", u"h:mm", u"h:mm:ss", u"", u"Сентябрь", u"Вс", u"суббота"};
constexpr TLocaleCase kEnglish = {u'.', u',', u'/', u',', u"$", 0, 0, u"M/d/yyyy",
                                  u"dddd, MMMM d, yyyy", u"h:mm AMPM", u"h:mm:ss AMPM", u"AM", u"September",
                                  u"Sun", u"Saturday"};

class BuiltInLocale : public ::testing::TestWithParam<std::pair<const char*, TLocaleCase>> {};

TEST_P(BuiltInLocale, HasWindowsSettings) {
  const TLocaleCase& want = GetParam().second;
  const rtl::TFormatSettings s = posix::TPosixLocale::SettingsForLocale(GetParam().first);
  EXPECT_EQ(s.DecimalSeparator, want.Decimal);
  EXPECT_EQ(s.ThousandSeparator, want.Thousand);
  EXPECT_EQ(s.DateSeparator, want.Date);
  EXPECT_EQ(s.TimeSeparator, u':');
  EXPECT_EQ(s.ListSeparator, want.List);
  EXPECT_EQ(s.CurrencyString, want.Currency);
  EXPECT_EQ(s.CurrencyFormat, want.CurrencyFormat);
  EXPECT_EQ(s.NegCurrFormat, want.NegCurrFormat);
  EXPECT_EQ(s.CurrencyDecimals, 2);
  EXPECT_EQ(s.ShortDateFormat, want.ShortDate);
  EXPECT_EQ(s.LongDateFormat, want.LongDate);
  EXPECT_EQ(s.ShortTimeFormat, want.ShortTime);
  EXPECT_EQ(s.LongTimeFormat, want.LongTime);
  EXPECT_EQ(s.TimeAMString, want.Am);
  EXPECT_EQ(s.LongMonthNames[8], want.September);
  EXPECT_EQ(s.ShortDayNames[0], want.ShortSunday);
  EXPECT_EQ(s.LongDayNames[6], want.Saturday);
}

INSTANTIATE_TEST_SUITE_P(Names, BuiltInLocale,
                         ::testing::Values(std::pair{"ru_RU.UTF-8", kRussian}, std::pair{"ru", kRussian},
                                           std::pair{"en_US.UTF-8", kEnglish},
                                           std::pair{"C", kEnglish}, std::pair{"POSIX", kEnglish},
                                           std::pair{"", kEnglish}, std::pair{"xx_YY.UTF-8", kEnglish}));

TEST(StrftimeToPattern, TranslatesConversionsAndQuotesLetters) {
  const struct {
    const char* Format;
    const char16_t* Pattern;
  } cases[] = {
      {"%d.%m.%Y", u"dd.mm.yyyy"},
      {"%m/%d/%y", u"mm/dd/yy"},
      {"%e %B %Y г.", u"d mmmm yyyy \"г\"."},
      {"%a %b %h %A", u"ddd mmm mmm dddd"},
      {"%H:%M:%S", u"hh:nn:ss"},
      {"%I:%M:%S %p", u"hh:nn:ss AMPM"},
      {"%l.%M %P|%k", u"h.nn AMPM|h"},
      {"%T|%R|%r", u"hh:nn:ss|hh:nn|hh:nn:ss AMPM"},
      {"%D|%F", u"mm/dd/yy|yyyy-mm-dd"},
      {"%n%t", u"  "},
      {"%Ey %Od %-m %_H %0S", u"yy dd mm hh ss"},  // modifiers are skipped
      {"%%", u"\"%\""},
      {"de %Q%d", u"\"de\" dd"},  // an unknown conversion is dropped
      {"%E", u""},
      {"x%", u"\"x\"%"},  // a trailing '%' is kept
  };
  for (const auto& c : cases) EXPECT_EQ(posix::TPosixLocale::StrftimeToPattern(c.Format), c.Pattern) << c.Format;
}

}  // namespace
}  // namespace qor::platform::testing
#endif
