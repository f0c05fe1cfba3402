#include "platform/win32/wide.h"
#include "platform/win32/win32_services.h"

namespace qor::platform::win32 {

namespace {
rtl::String Info(LCID lcid, LCTYPE type, rtl::StringView fallback = {}) {
  const int n = ::GetLocaleInfoW(lcid, type, nullptr, 0);
  if (n <= 1) return rtl::String(fallback);
  std::vector<wchar_t> buffer(static_cast<std::size_t>(n));
  const int got = ::GetLocaleInfoW(lcid, type, buffer.data(), n);
  return got > 1 ? rtl::String(U(buffer.data()), static_cast<std::size_t>(got - 1)) : rtl::String(fallback);
}

char16_t InfoChar(LCID lcid, LCTYPE type, char16_t fallback) {
  const rtl::String s = Info(lcid, type);
  return s.empty() ? fallback : s[0];
}

unsigned InfoNumber(LCID lcid, LCTYPE type, unsigned fallback) {
  const rtl::String s = Info(lcid, type);
  if (s.empty()) return fallback;
  unsigned v = 0;
  for (char16_t c : s) {
    if (c < u'0' || c > u'9') return fallback;
    v = v * 10 + static_cast<unsigned>(c - u'0');
  }
  return v;
}

// Windows writes the AM/PM marker as t or tt; the runtime's specifier is AMPM.
rtl::String TimePattern(rtl::StringView pattern) {
  rtl::String out;
  bool quoted = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    if (c == u'\'') quoted = !quoted;
    if (!quoted && (c == u't' || c == u'T')) {
      while (i + 1 < pattern.size() && (pattern[i + 1] == u't' || pattern[i + 1] == u'T')) ++i;
      out += u"AMPM";
      continue;
    }
    out.push_back(c);
  }
  return out;
}

rtl::TFormatSettings SettingsOf(LCID lcid) {
  rtl::TFormatSettings s = rtl::NeutralFormatSettings();
  s.CurrencyString = Info(lcid, LOCALE_SCURRENCY, s.CurrencyString);
  s.CurrencyFormat = static_cast<unsigned char>(InfoNumber(lcid, LOCALE_ICURRENCY, s.CurrencyFormat));
  s.NegCurrFormat = static_cast<unsigned char>(InfoNumber(lcid, LOCALE_INEGCURR, s.NegCurrFormat));
  s.CurrencyDecimals = static_cast<unsigned char>(InfoNumber(lcid, LOCALE_ICURRDIGITS, s.CurrencyDecimals));
  s.ThousandSeparator = InfoChar(lcid, LOCALE_STHOUSAND, s.ThousandSeparator);
  s.DecimalSeparator = InfoChar(lcid, LOCALE_SDECIMAL, s.DecimalSeparator);
  s.DateSeparator = InfoChar(lcid, LOCALE_SDATE, s.DateSeparator);
  s.TimeSeparator = InfoChar(lcid, LOCALE_STIME, s.TimeSeparator);
  s.ListSeparator = InfoChar(lcid, LOCALE_SLIST, s.ListSeparator);
  s.ShortDateFormat = Info(lcid, LOCALE_SSHORTDATE, s.ShortDateFormat);
  s.LongDateFormat = Info(lcid, LOCALE_SLONGDATE, s.LongDateFormat);
  s.TimeAMString = Info(lcid, LOCALE_S1159);
  s.TimePMString = Info(lcid, LOCALE_S2359);
  s.LongTimeFormat = TimePattern(Info(lcid, LOCALE_STIMEFORMAT, s.LongTimeFormat));
  constexpr LCTYPE kShortTime = 0x00000079;  // LOCALE_SSHORTTIME
  rtl::String shortTime = Info(lcid, kShortTime);
  if (shortTime.empty()) shortTime = rtl::StringReplace(Info(lcid, LOCALE_STIMEFORMAT), u":ss", u"");
  if (!shortTime.empty()) s.ShortTimeFormat = TimePattern(shortTime);
  for (int m = 0; m < 12; ++m) {
    s.LongMonthNames[m] = Info(lcid, LOCALE_SMONTHNAME1 + m, s.LongMonthNames[m]);
    s.ShortMonthNames[m] = Info(lcid, LOCALE_SABBREVMONTHNAME1 + m, s.ShortMonthNames[m]);
  }
  // The runtime counts from Sunday, Windows from Monday.
  for (int d = 0; d < 7; ++d) {
    const LCTYPE day = static_cast<LCTYPE>((d + 6) % 7);
    s.LongDayNames[d] = Info(lcid, LOCALE_SDAYNAME1 + day, s.LongDayNames[d]);
    s.ShortDayNames[d] = Info(lcid, LOCALE_SABBREVDAYNAME1 + day, s.ShortDayNames[d]);
  }
  return s;
}
}  // namespace

rtl::TFormatSettings TWin32Locale::UserFormatSettings() { return SettingsOf(LOCALE_USER_DEFAULT); }
rtl::TFormatSettings TWin32Locale::SystemDefaultFormatSettings() { return SettingsOf(LOCALE_SYSTEM_DEFAULT); }
std::uint32_t TWin32Locale::UserLocaleId() { return ::GetUserDefaultLCID(); }

}  // namespace qor::platform::win32
