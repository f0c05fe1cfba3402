#pragma once
// The record of formatting parameters and the process-wide default instance.
#include <array>

#include "rtl/strings.h"

namespace qor::rtl {

struct TFormatSettings {
  String CurrencyString;
  unsigned char CurrencyFormat = 0;
  unsigned char NegCurrFormat = 0;
  char16_t ThousandSeparator = u',';
  char16_t DecimalSeparator = u'.';
  unsigned char CurrencyDecimals = 2;
  char16_t DateSeparator = u'/';
  char16_t TimeSeparator = u':';
  char16_t ListSeparator = u',';
  String ShortDateFormat;
  String LongDateFormat;
  String TimeAMString;
  String TimePMString;
  String ShortTimeFormat;
  String LongTimeFormat;
  std::array<String, 12> ShortMonthNames;
  std::array<String, 12> LongMonthNames;
  std::array<String, 7> ShortDayNames;  // Sunday first
  std::array<String, 7> LongDayNames;
  unsigned short TwoDigitYearCenturyWindow = 50;
};

// Fixed, locale-independent values (English names, '.' decimal separator).
TFormatSettings NeutralFormatSettings();

// The process-wide default settings used by every operation not given its own.
// Neutral until start-up fills it from the user's locale.
TFormatSettings& FormatSettings();

}  // namespace qor::rtl
