// Code pages, console, clock, sockets and internet state of the real backend.
#include "tests/platform/system_platform_fixture.h"

namespace qor::platform::testing {
namespace {

class SystemServices : public SystemPlatformTest {};

TEST_F(SystemServices, CodePagesConvertWithoutBestFitAndSizeTheirOutput) {
  TCodePageService& cp = P().CodePages();
  bool defaulted = true;
  EXPECT_EQ(cp.FromUnicode(1251, u"Привет, €!", &defaulted), "\xCF\xF0\xE8\xE2\xE5\xF2, \x88!");
  EXPECT_FALSE(defaulted);
  // No best fit: 'é' does not become 'e' in 1251; each unit of a surrogate pair is a '?'.
  EXPECT_EQ(cp.FromUnicode(1251, u"é✓\U0001F600x", &defaulted), "????x");
  EXPECT_TRUE(defaulted);
  EXPECT_EQ(cp.FromUnicode(1252, u"Grüße ∑", &defaulted), "Gr\xFC\xDF" "e ?");
  EXPECT_EQ(cp.ToUnicode(1251, "\xCF\xF0\xE8\xE2\xE5\xF2"), u"Привет");
  EXPECT_EQ(cp.ToUnicode(866, "\x8F\xE0\xA8\xA2\xA5\xE2"), u"Привет");
  EXPECT_EQ(cp.FromUnicode(65001, u"Привет"), "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");
  EXPECT_EQ(cp.FromUnicode(1251, u""), "");
  const unsigned ansi = cp.AnsiCodePage();
  EXPECT_TRUE(ansi == 1251 || ansi == 1252) << ansi;
}

TEST_F(SystemServices, TheTestIsAConsoleProgram) { EXPECT_TRUE(P().Console().IsConsoleProgram()); }

TEST_F(SystemServices, TickCountAdvancesAndNowIsToday) {
  const std::uint32_t t0 = P().Clock().TickCount();
  EXPECT_TRUE(WaitFor([&] { return P().Clock().TickCount() - t0 >= 20; }));
  const rtl::TDateTime now = P().Clock().Now();
  EXPECT_GT(now, rtl::EncodeDate(2020, 1, 1));
  EXPECT_NE(now - static_cast<long long>(now), 0.0);  // it has a time of day
  EXPECT_NE(P().Clock().ProcessId(), 0u);
}

TEST_F(SystemServices, TheSocketLibraryStarts) {
  EXPECT_TRUE(P().Sockets().Startup());
  P().Sockets().Cleanup();
}

TEST_F(SystemServices, TheConnectedStateCanBeQueried) {
  std::uint32_t state = 0;
  EXPECT_TRUE(P().Internet().QueryConnectedState(state));
}

TEST_F(SystemServices, LocaleSettingsAreComplete) {
  const rtl::TFormatSettings s = P().Locale().UserFormatSettings();
  EXPECT_FALSE(s.ShortDateFormat.empty());
  EXPECT_FALSE(s.LongTimeFormat.empty());
  EXPECT_FALSE(s.LongMonthNames[0].empty());
  EXPECT_FALSE(s.ShortDayNames[6].empty());
  EXPECT_NE(s.DecimalSeparator, u'\0');
  EXPECT_FALSE(P().Locale().SystemDefaultFormatSettings().ShortDateFormat.empty());
}

}  // namespace
}  // namespace qor::platform::testing
