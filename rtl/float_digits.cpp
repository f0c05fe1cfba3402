#include "rtl/float_digits.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "rtl/strings.h"

namespace qor::rtl {

namespace {
void StripZeros(TFloatDigits& d) {
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
  std::size_t lead = 0;
  while (lead < d.Digits.size() && d.Digits[lead] == '0') ++lead;
  d.Digits.erase(0, lead);
  d.Exponent -= static_cast<int>(lead);
  if (d.Digits.empty()) d.Exponent = 0;
}
void AppendExponent(String& out, int exponent, int minDigits, bool plusSign) {
  out.push_back(u'E');
  if (exponent < 0)
    out.push_back(u'-');
  else if (plusSign)
    out.push_back(u'+');
  String digits = IntToStr(exponent < 0 ? -static_cast<long long>(exponent) : exponent);
  for (int k = static_cast<int>(digits.size()); k < minDigits; ++k) out.push_back(u'0');
  out += digits;
}

String SpecialText(const TFloatDigits& d) {
  if (d.NaN) return u"NAN";
  return d.Negative ? u"-INF" : u"INF";
}

// d.ddd…E±x with precision digits (padded) or the digits present (trimmed).
String ExponentText(const TFloatDigits& d, int precision, int minExpDigits, bool pad, bool plusSign,
                    char16_t decimal) {
  String out;
  if (d.Negative && !d.Digits.empty()) out.push_back(u'-');
  std::string digits = d.Digits.empty() ? std::string("0") : d.Digits;
  if (pad && static_cast<int>(digits.size()) < precision) digits.append(static_cast<std::size_t>(precision) - digits.size(), '0');
  out.push_back(static_cast<char16_t>(digits[0]));
  if (digits.size() > 1) {
    out.push_back(decimal);
    for (std::size_t k = 1; k < digits.size(); ++k) out.push_back(static_cast<char16_t>(digits[k]));
  }
  AppendExponent(out, d.Digits.empty() ? 0 : d.Exponent - 1, minExpDigits, plusSign);
  return out;
}

// Fixed notation with decimals places; thousand 0 means no grouping. The sign is
// left to the caller.
String FixedBody(const TFloatDigits& d, int decimals, char16_t decimal, char16_t thousand) {
  String intPart;
  if (d.Exponent <= 0 || d.Digits.empty()) {
    intPart = u"0";
  } else {
    for (int k = 0; k < d.Exponent; ++k)
      intPart.push_back(k < static_cast<int>(d.Digits.size()) ? static_cast<char16_t>(d.Digits[static_cast<std::size_t>(k)]) : u'0');
  }
  String out;
  if (thousand) {
    const std::size_t n = intPart.size();
    for (std::size_t k = 0; k < n; ++k) {
      if (k > 0 && (n - k) % 3 == 0) out.push_back(thousand);
      out.push_back(intPart[k]);
    }
  } else {
    out = intPart;
  }
  if (decimals > 0) {
    out.push_back(decimal);
    for (int k = 0; k < decimals; ++k) {
      const int idx = d.Exponent + k;
      out.push_back(idx >= 0 && idx < static_cast<int>(d.Digits.size()) ? static_cast<char16_t>(d.Digits[static_cast<std::size_t>(idx)]) : u'0');
    }
  }
  return out;
}

String CurrencyText(const String& body, bool negative, const TFormatSettings& s) {
  const String& c = s.CurrencyString;
  if (!negative) {
    switch (s.CurrencyFormat) {
      case 1: return body + c;
      case 2: return c + u" " + body;
      case 3: return body + u" " + c;
      default: return c + body;
    }
  }
  switch (s.NegCurrFormat) {
    case 1: return u"-" + c + body;
    case 2: return c + u"-" + body;
    case 3: return c + body + u"-";
    case 4: return u"(" + body + c + u")";
    case 5: return u"-" + body + c;
    case 6: return body + u"-" + c;
    case 7: return body + c + u"-";
    case 8: return u"-" + body + u" " + c;
    case 9: return u"-" + c + u" " + body;
    case 10: return body + u" " + c + u"-";
    case 11: return c + u" " + body + u"-";
    case 12: return c + u" -" + body;
    case 13: return body + u"- " + c;
    case 14: return u"(" + c + u" " + body + u")";
    case 15: return u"(" + body + u" " + c + u")";
    default: return u"(" + c + body + u")";
  }
}

}  // namespace

void RoundDigits(TFloatDigits& d, int count) {
  if (count < 0) {
    d.Digits.clear();
    d.Exponent = 0;
    return;
  }
  const auto n = static_cast<std::size_t>(count);
  if (n >= d.Digits.size()) return;
  const bool up = d.Digits[n] >= '5';
  d.Digits.resize(n);
  if (up) {
    std::size_t i = n;
    while (i > 0 && d.Digits[i - 1] == '9') d.Digits[--i] = '0';
    if (i == 0) {
      d.Digits.insert(d.Digits.begin(), '1');
      ++d.Exponent;
    } else {
      ++d.Digits[i - 1];
    }
  }
  StripZeros(d);
}

TFloatDigits FloatToDigits(Extended value, int precision) {
  TFloatDigits d;
  if (std::isnan(value)) {
    d.NaN = true;
    return d;
  }
  d.Negative = std::signbit(value);
  if (std::isinf(value)) {
    d.Infinite = true;
    return d;
  }
  if (value == 0) {
    d.Negative = false;
    return d;
  }
  // The shortest round-trip form: locale-free, and with up to 21 digits precise
  // enough to round to 18 and fewer.
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
  const char* p = buf;
  const char* end = r.ptr;
  while (p < end && *p != 'e') {
    if (*p >= '0' && *p <= '9') d.Digits.push_back(*p);
    ++p;
  }
  int exp10 = 0;
  if (p < end) std::from_chars(p + 1 + (p[1] == '+'), end, exp10);
  d.Exponent = exp10 + 1;
  RoundDigits(d, std::clamp(precision, 1, kMaxFloatDigits));
  StripZeros(d);
  return d;
}

// The fixed formats round the value's 18 significant digits once, half away from
// zero, at the decimals asked for or at precision digits, whichever comes first:
// 0.125 gives 0.13, the double nearest 1.005 (1.00499999…) gives 1.00.
// General format: fixed notation while the integer part has at most precision
// digits and the value is at least 0.00001, otherwise d.dddE±x. With 15 digits:
// 100000000000000 and 0.00001 stay fixed, 1E15 and 1E-6 take the exponent form.
String FloatToText(Extended value, TFloatFormat format, int precision, int digits, const TFormatSettings& s,
                   bool fixedMayUseExponent) {
  precision = std::clamp(precision, 1, kMaxFloatDigits);
  const bool fixed = format != TFloatFormat::ffGeneral && format != TFloatFormat::ffExponent;
  TFloatDigits d = FloatToDigits(value, fixed ? kMaxFloatDigits : precision);
  if (d.NaN || d.Infinite) return SpecialText(d);
  switch (format) {
    case TFloatFormat::ffGeneral: {
      if (d.Digits.empty()) return u"0";
      if (d.Exponent > precision || d.Exponent < -4)
        return ExponentText(d, precision, digits < 0 ? 0 : (digits > 4 ? 4 : digits), false, false, s.DecimalSeparator);
      const int decimals = static_cast<int>(d.Digits.size()) - d.Exponent;
      String body = FixedBody(d, decimals > 0 ? decimals : 0, s.DecimalSeparator, 0);
      return d.Negative ? u"-" + body : body;
    }
    case TFloatFormat::ffExponent:
      return ExponentText(d, precision, digits < 0 ? 0 : (digits > 4 ? 4 : digits), true, true, s.DecimalSeparator);
    case TFloatFormat::ffFixed:
    case TFloatFormat::ffNumber:
    case TFloatFormat::ffCurrency: {
      digits = std::clamp(digits, 0, kMaxFloatDigits);
      RoundDigits(d, std::min(precision, d.Exponent + digits));
      if (fixedMayUseExponent && d.Exponent > precision && format != TFloatFormat::ffCurrency)
        return ExponentText(d, precision, 3, true, true, s.DecimalSeparator);
      const bool negative = d.Negative && !d.Digits.empty();
      String body = FixedBody(d, digits, s.DecimalSeparator,
                              format == TFloatFormat::ffFixed ? char16_t(0) : s.ThousandSeparator);
      if (format == TFloatFormat::ffCurrency) return CurrencyText(body, negative, s);
      return negative ? u"-" + body : body;
    }
  }
  return {};
}

}  // namespace qor::rtl
