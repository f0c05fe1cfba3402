#pragma once
// TDateTime: days since 1899-12-30, the time of day as the fraction.
#include <cstdint>

#include "rtl/format_settings.h"
#include "rtl/strings.h"

namespace qor::rtl {

using TDateTime = double;
using TDate = double;

struct TDateParts {
  int Year = 0, Month = 0, Day = 0;
};
struct TTimeParts {
  int Hour = 0, Minute = 0, Second = 0, MSec = 0;
};

bool IsLeapYear(int year);
bool TryEncodeDate(int year, int month, int day, TDate& result);
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result);
// Raise EConvertError on values out of range.
TDate EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec);
// Rounded to the millisecond before splitting; for negative values the date is
// the truncation and the time the absolute fraction. Values outside years 1 to
// 9999 (and NaN) raise EConvertError.
TDateParts DecodeDate(TDateTime value);
TTimeParts DecodeTime(TDateTime value);
int DayOfWeek(TDateTime value);  // 1 = Sunday

// The classic specifiers, case-insensitive: c d dd ddd dddd ddddd dddddd e ee
// m mm mmm mmmm (minutes after h/hh) yy yyyy h hh n nn s ss z zzz t tt am/pm
// ampm a/p / : "..." '...'.
String FormatDateTime(StringView format, TDateTime value);
String FormatDateTime(StringView format, TDateTime value, const TFormatSettings& settings);
String DateToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());
String TimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());
String DateTimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());

// Parse by the order of day, month and year in ShortDateFormat, separated by
// DateSeparator; a time (h[:n[:s[.z]]], optional am/pm) may follow after a blank.
// All three date parts are needed and the year has at least three digits (a
// two-digit year would depend on today's date). Leading and trailing blanks pass.
bool TryStrToDate(StringView text, TDate& result, const TFormatSettings& settings = FormatSettings());
bool TryStrToTime(StringView text, TDateTime& result, const TFormatSettings& settings = FormatSettings());
bool TryStrToDateTime(StringView text, TDateTime& result, const TFormatSettings& settings = FormatSettings());
// "''%s'' is not a valid date" / "... time" / "... date and time".
TDate StrToDate(StringView text, const TFormatSettings& settings = FormatSettings());
TDateTime StrToTime(StringView text, const TFormatSettings& settings = FormatSettings());
TDateTime StrToDateTime(StringView text, const TFormatSettings& settings = FormatSettings());

}  // namespace qor::rtl
