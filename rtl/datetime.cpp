#include "rtl/datetime.h"

#include <cmath>
#include <cstdint>

#include "rtl/exceptions.h"

namespace qor::rtl {

namespace {

constexpr std::int64_t kMSecsPerDay = 86400000;
// Days from 0001-01-01 to 1899-12-30.
constexpr int kDateDelta = 693594;
constexpr int kMinDate = -693593;  // 0001-01-01
constexpr int kMaxDate = 2958465;  // 9999-12-31

constexpr int kDaysInMonth[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                     {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

struct TStamp {
  int Days = 0;  // the date part, truncated towards zero
  int Time = 0;  // milliseconds of the day
};

// Rounds to the millisecond first; the date is the truncation, the time the
// absolute fraction, so -1.25 is 1899-12-29 06:00.
TStamp ToStamp(TDateTime value) {
  const double ms = std::round(value * static_cast<double>(kMSecsPerDay));
  if (!std::isfinite(ms) || ms < static_cast<double>(kMinDate - 1) * kMSecsPerDay ||
      ms > static_cast<double>(kMaxDate + 1) * kMSecsPerDay)
    throw EConvertError(u"Invalid date and time value");
  const auto total = static_cast<std::int64_t>(ms);
  TStamp s;
  s.Days = static_cast<int>(total / kMSecsPerDay);
  s.Time = static_cast<int>((total < 0 ? -total : total) % kMSecsPerDay);
  if (s.Days < kMinDate || s.Days > kMaxDate) throw EConvertError(u"Invalid date and time value");
  return s;
}

TDateParts DaysToDate(int days) {
  int t = days + kDateDelta - 1;  // days since 0001-01-01
  int y = 1;
  y += 400 * (t / 146097);
  t %= 146097;
  int c = t / 36524;
  if (c == 4) c = 3;
  y += 100 * c;
  t -= c * 36524;
  y += 4 * (t / 1461);
  t %= 1461;
  int k = t / 365;
  if (k == 4) k = 3;
  y += k;
  t -= k * 365;
  TDateParts p;
  p.Year = y;
  const int* months = kDaysInMonth[IsLeapYear(y) ? 1 : 0];
  int m = 0;
  while (t >= months[m]) t -= months[m++];
  p.Month = m + 1;
  p.Day = t + 1;
  return p;
}

TTimeParts MSecsToTime(int ms) {
  TTimeParts t;
  t.Hour = ms / 3600000;
  ms %= 3600000;
  t.Minute = ms / 60000;
  ms %= 60000;
  t.Second = ms / 1000;
  t.MSec = ms % 1000;
  return t;
}

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

bool TryEncodeDate(int year, int month, int day, TDate& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
  const int* months = kDaysInMonth[IsLeapYear(year) ? 1 : 0];
  if (day < 1 || day > months[month - 1]) return false;
  for (int m = 0; m < month - 1; ++m) day += months[m];
  const int i = year - 1;
  result = static_cast<TDate>(i * 365 + i / 4 - i / 100 + i / 400 + day - kDateDelta);
  return true;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 || msec > 999)
    return false;
  result = static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000 + msec) / kMSecsPerDay;
  return true;
}

TDate EncodeDate(int year, int month, int day) {
  TDate r;
  if (!TryEncodeDate(year, month, day, r)) throw EConvertError(u"Invalid argument to date encode");
  return r;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
  TDateTime r;
  if (!TryEncodeTime(hour, minute, second, msec, r)) throw EConvertError(u"Invalid argument to time encode");
  return r;
}

// Before 1899-12-30 the time still counts forward from midnight: it is subtracted.
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec) {
  const TDate d = EncodeDate(year, month, day);
  const TDateTime t = EncodeTime(hour, minute, second, msec);
  return d < 0 ? d - t : d + t;
}

TDateParts DecodeDate(TDateTime value) { return DaysToDate(ToStamp(value).Days); }

TTimeParts DecodeTime(TDateTime value) { return MSecsToTime(ToStamp(value).Time); }

int DayOfWeek(TDateTime value) { return (ToStamp(value).Days + kDateDelta) % 7 + 1; }

// ---- FormatDateTime ----

namespace {

char16_t Upper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

void AppendNumber(String& out, int value, int digits) {
  String s = IntToStr(value);
  if (static_cast<int>(s.size()) < digits) out.append(static_cast<std::size_t>(digits) - s.size(), u'0');
  out += s;
}

bool StartsWithText(StringView s, std::size_t i, StringView what) {
  return i + what.size() <= s.size() && SameTextAscii(s.substr(i, what.size()), what);
}

class TDateFormatter {
 public:
  TDateFormatter(TDateTime value, const TFormatSettings& settings) : FValue(value), FSettings(settings) {}

  void Append(String& out, StringView format, int level) {
    char16_t lastToken = 0;
    std::size_t i = 0;
    const std::size_t n = format.size();
    while (i < n) {
      const char16_t starter = format[i];
      char16_t token = Upper(starter);
      if (token >= u'A' && token <= u'Z') {
        // "m" right after an hour means minutes.
        if (token == u'M' && lastToken == u'H') token = u'N';
        lastToken = token;
      }
      const std::size_t start = i;
      auto count = [&]() {
        std::size_t j = i + 1;
        while (j < n && Upper(format[j]) == Upper(starter)) ++j;
        const int c = static_cast<int>(j - start);
        i = j;
        return c;
      };
      switch (token) {
        case u'Y': {
          const int c = count();
          if (c <= 2)
            AppendNumber(out, Date().Year % 100, 2);
          else
            AppendNumber(out, Date().Year, 4);
          break;
        }
        case u'E': {
          const int c = count();
          AppendNumber(out, Date().Year, c >= 2 ? 2 : 1);
          break;
        }
        case u'M': {
          const int c = count();
          if (c <= 2)
            AppendNumber(out, Date().Month, c);
          else if (c == 3)
            out += FSettings.ShortMonthNames[static_cast<std::size_t>(Date().Month - 1)];
          else
            out += FSettings.LongMonthNames[static_cast<std::size_t>(Date().Month - 1)];
          break;
        }
        case u'D': {
          const int c = count();
          switch (c) {
            case 1:
            case 2: AppendNumber(out, Date().Day, c); break;
            case 3: out += FSettings.ShortDayNames[static_cast<std::size_t>(DayOfWeek(FValue) - 1)]; break;
            case 4: out += FSettings.LongDayNames[static_cast<std::size_t>(DayOfWeek(FValue) - 1)]; break;
            case 5:
              if (level < 2) Append(out, FSettings.ShortDateFormat, level + 1);
              break;
            default:
              if (level < 2) Append(out, FSettings.LongDateFormat, level + 1);
              break;
          }
          break;
        }
        case u'H': {
          const int c = count();
          int h = Time().Hour;
          if (Uses12HourClock(format, i)) {
            if (h == 0)
              h = 12;
            else if (h > 12)
              h -= 12;
          }
          AppendNumber(out, h, c >= 2 ? 2 : 1);
          break;
        }
        case u'N': {
          const int c = count();
          AppendNumber(out, Time().Minute, c >= 2 ? 2 : 1);
          break;
        }
        case u'S': {
          const int c = count();
          AppendNumber(out, Time().Second, c >= 2 ? 2 : 1);
          break;
        }
        case u'Z': {
          const int c = count();
          AppendNumber(out, Time().MSec, c >= 3 ? 3 : c);
          break;
        }
        case u'T': {
          const int c = count();
          if (level < 2) Append(out, c == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat, level + 1);
          break;
        }
        case u'C': {
          count();
          if (level < 2) {
            Append(out, FSettings.ShortDateFormat, level + 1);
            const TTimeParts t = Time();
            if (t.Hour != 0 || t.Minute != 0 || t.Second != 0) {
              out.push_back(u' ');
              Append(out, FSettings.LongTimeFormat, level + 1);
            }
          }
          break;
        }
        case u'A': {
          const bool pm = Time().Hour >= 12;
          if (StartsWithText(format, i, u"AM/PM")) {
            // The marker as the format spells it: "am/pm" gives "pm".
            out += format.substr(pm ? i + 3 : i, 2);
            i += 5;
          } else if (StartsWithText(format, i, u"A/P")) {
            out.push_back(format[pm ? i + 2 : i]);
            i += 3;
          } else if (StartsWithText(format, i, u"AMPM")) {
            out += pm ? FSettings.TimePMString : FSettings.TimeAMString;
            i += 4;
          } else {
            out.push_back(starter);
            ++i;
          }
          break;
        }
        case u'/':
          if (FSettings.DateSeparator) out.push_back(FSettings.DateSeparator);
          ++i;
          break;
        case u':':
          if (FSettings.TimeSeparator) out.push_back(FSettings.TimeSeparator);
          ++i;
          break;
        case u'\'':
        case u'"': {
          std::size_t j = i + 1;
          while (j < n && format[j] != starter) ++j;
          out += format.substr(i + 1, j - i - 1);
          i = j < n ? j + 1 : n;
          break;
        }
        default:
          out.push_back(starter);
          ++i;
          break;
      }
    }
  }

 private:
  // An am/pm marker later in the format, before the next hour, outside quotes.
  static bool Uses12HourClock(StringView format, std::size_t i) {
    char16_t quote = 0;
    for (; i < format.size(); ++i) {
      const char16_t c = format[i];
      if (quote) {
        if (c == quote) quote = 0;
        continue;
      }
      if (c == u'\'' || c == u'"') {
        quote = c;
      } else if (c == u'a' || c == u'A') {
        return StartsWithText(format, i, u"AM/PM") || StartsWithText(format, i, u"A/P") ||
               StartsWithText(format, i, u"AMPM");
      } else if (c == u'h' || c == u'H') {
        return false;
      }
    }
    return false;
  }

  const TDateParts& Date() {
    if (!FHaveDate) {
      FDate = DecodeDate(FValue);
      FHaveDate = true;
    }
    return FDate;
  }
  const TTimeParts& Time() {
    if (!FHaveTime) {
      FTime = DecodeTime(FValue);
      FHaveTime = true;
    }
    return FTime;
  }

  TDateTime FValue;
  const TFormatSettings& FSettings;
  bool FHaveDate = false, FHaveTime = false;
  TDateParts FDate;
  TTimeParts FTime;
};

}  // namespace

String FormatDateTime(StringView format, TDateTime value, const TFormatSettings& settings) {
  String out;
  TDateFormatter f(value, settings);
  f.Append(out, format.empty() ? StringView(u"c") : format, 0);
  return out;
}

String FormatDateTime(StringView format, TDateTime value) { return FormatDateTime(format, value, FormatSettings()); }

String DateToStr(TDateTime value, const TFormatSettings& settings) { return FormatDateTime(u"ddddd", value, settings); }
String TimeToStr(TDateTime value, const TFormatSettings& settings) { return FormatDateTime(u"tt", value, settings); }
String DateTimeToStr(TDateTime value, const TFormatSettings& settings) { return FormatDateTime(u"c", value, settings); }

// ---- parsing ----

namespace {

class TScanner {
 public:
  explicit TScanner(StringView text) : FText(text) {}

  void Blanks() {
    while (FPos < FText.size() && FText[FPos] == u' ') ++FPos;
  }
  bool AtEnd() const { return FPos >= FText.size(); }
  bool Char(char16_t c) {
    if (FPos < FText.size() && FText[FPos] == c) {
      ++FPos;
      return true;
    }
    return false;
  }
  // Up to 9 digits; digits reports how many were read.
  bool Number(int& value, int& digits) {
    value = 0;
    digits = 0;
    while (FPos < FText.size() && FText[FPos] >= u'0' && FText[FPos] <= u'9') {
      if (digits == 9) return false;
      value = value * 10 + (FText[FPos++] - u'0');
      ++digits;
    }
    return digits > 0;
  }
  bool Text(StringView what) {
    if (what.empty() || !StartsWithText(FText, FPos, what)) return false;
    FPos += what.size();
    return true;
  }
  std::size_t Pos() const { return FPos; }
  void SetPos(std::size_t p) { FPos = p; }

 private:
  StringView FText;
  std::size_t FPos = 0;
};

enum class TDateOrder { MDY, DMY, YMD };

TDateOrder OrderOf(StringView format) {
  for (char16_t c : format) {
    switch (Upper(c)) {
      case u'D': return TDateOrder::DMY;
      case u'Y': return TDateOrder::YMD;
      case u'M': return TDateOrder::MDY;
      default: break;
    }
  }
  return TDateOrder::MDY;
}

// Three numbers separated by DateSeparator; the year needs at least three digits
// (a two-digit year would depend on the current date).
bool ScanDate(TScanner& s, const TFormatSettings& fs, TDate& result) {
  int n[3], len[3];
  for (int k = 0; k < 3; ++k) {
    if (k > 0 && !s.Char(fs.DateSeparator)) return false;
    if (!s.Number(n[k], len[k])) return false;
  }
  int y, m, d, ylen;
  switch (OrderOf(fs.ShortDateFormat)) {
    case TDateOrder::DMY: d = n[0], m = n[1], y = n[2], ylen = len[2]; break;
    case TDateOrder::YMD: y = n[0], ylen = len[0], m = n[1], d = n[2]; break;
    default: m = n[0], d = n[1], y = n[2], ylen = len[2]; break;
  }
  if (ylen < 3) return false;
  return TryEncodeDate(y, m, d, result);
}

bool ScanAmPm(TScanner& s, const TFormatSettings& fs, int& ampm) {
  if (s.Text(fs.TimeAMString) || s.Text(u"AM")) {
    ampm = 1;
    return true;
  }
  if (s.Text(fs.TimePMString) || s.Text(u"PM")) {
    ampm = 2;
    return true;
  }
  return false;
}

// h[:n[:s[.z]]] with an optional am/pm marker before or after.
bool ScanTime(TScanner& s, const TFormatSettings& fs, TDateTime& result) {
  int ampm = 0;
  if (ScanAmPm(s, fs, ampm)) s.Blanks();
  int h, m = 0, sec = 0, ms = 0, len;
  if (!s.Number(h, len)) return false;
  if (s.Char(fs.TimeSeparator)) {
    if (!s.Number(m, len)) return false;
    if (s.Char(fs.TimeSeparator)) {
      if (!s.Number(sec, len)) return false;
      if (s.Char(u'.') || s.Char(fs.DecimalSeparator)) {
        if (!s.Number(ms, len) || len > 3) return false;
        for (; len < 3; ++len) ms *= 10;
      }
    }
  }
  if (ampm == 0) {
    const std::size_t p = s.Pos();
    s.Blanks();
    if (!ScanAmPm(s, fs, ampm)) s.SetPos(p);
  }
  if (ampm != 0) {
    if (h < 1 || h > 12) return false;
    if (ampm == 1 && h == 12) h = 0;
    if (ampm == 2 && h < 12) h += 12;
  }
  return TryEncodeTime(h, m, sec, ms, result);
}

}  // namespace

bool TryStrToDate(StringView text, TDate& result, const TFormatSettings& settings) {
  TScanner s(text);
  s.Blanks();
  TDate d;
  if (!ScanDate(s, settings, d)) return false;
  s.Blanks();
  if (!s.AtEnd()) return false;
  result = d;
  return true;
}

bool TryStrToTime(StringView text, TDateTime& result, const TFormatSettings& settings) {
  TScanner s(text);
  s.Blanks();
  TDateTime t;
  if (!ScanTime(s, settings, t)) return false;
  s.Blanks();
  if (!s.AtEnd()) return false;
  result = t;
  return true;
}

// A date, optionally followed by blanks and a time; a time alone is a time of day
// on 1899-12-30.
bool TryStrToDateTime(StringView text, TDateTime& result, const TFormatSettings& settings) {
  TScanner s(text);
  s.Blanks();
  TDate d;
  if (!ScanDate(s, settings, d)) return TryStrToTime(text, result, settings);
  const std::size_t afterDate = s.Pos();
  s.Blanks();
  if (s.AtEnd()) {
    result = d;
    return true;
  }
  if (s.Pos() == afterDate) return false;
  TDateTime t;
  if (!ScanTime(s, settings, t)) return false;
  s.Blanks();
  if (!s.AtEnd()) return false;
  result = d < 0 ? d - t : d + t;
  return true;
}

TDate StrToDate(StringView text, const TFormatSettings& settings) {
  TDate r;
  if (!TryStrToDate(text, r, settings)) throw EConvertError(u"''" + String(text) + u"'' is not a valid date");
  return r;
}

TDateTime StrToTime(StringView text, const TFormatSettings& settings) {
  TDateTime r;
  if (!TryStrToTime(text, r, settings)) throw EConvertError(u"''" + String(text) + u"'' is not a valid time");
  return r;
}

TDateTime StrToDateTime(StringView text, const TFormatSettings& settings) {
  TDateTime r;
  if (!TryStrToDateTime(text, r, settings))
    throw EConvertError(u"''" + String(text) + u"'' is not a valid date and time");
  return r;
}

}  // namespace qor::rtl
