#include "rtl/format_settings.h"

namespace qor::rtl {

// Neutral values: English names, '.' decimal, ',' thousands, '/' and ':' separators,
// month-first short date with a four-digit year and a 24-hour clock, so that text
// written with them reads back the same on any machine.
TFormatSettings NeutralFormatSettings() {
  TFormatSettings s;
  s.CurrencyString = u"\u00A4";
  s.CurrencyFormat = 0;
  s.NegCurrFormat = 0;
  s.ThousandSeparator = u',';
  s.DecimalSeparator = u'.';
  s.CurrencyDecimals = 2;
  s.DateSeparator = u'/';
  s.TimeSeparator = u':';
  s.ListSeparator = u',';
  s.ShortDateFormat = u"MM/dd/yyyy";
  s.LongDateFormat = u"dddd, dd MMMM yyyy";
  s.TimeAMString = u"AM";
  s.TimePMString = u"PM";
  s.ShortTimeFormat = u"hh:nn";
  s.LongTimeFormat = u"hh:nn:ss";
  s.ShortMonthNames = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                       u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
  s.LongMonthNames = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                      u"July",    u"August",   u"September", u"October", u"November", u"December"};
  s.ShortDayNames = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
  s.LongDayNames = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
  s.TwoDigitYearCenturyWindow = 50;
  return s;
}

TFormatSettings& FormatSettings() {
  static TFormatSettings settings = NeutralFormatSettings();
  return settings;
}

}  // namespace qor::rtl
