#include "rtl/convert.h"

#include <charconv>
#include <cmath>
#include <string>

#include "rtl/exceptions.h"
#include "rtl/float_digits.h"

namespace qor::rtl {

namespace {

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// An integer of the given width (32 or 64 bits); false on a bad form or when the
// value does not fit. Decimal digits give a signed value; hexadecimal digits give
// the two's complement bits of the width, so they may fill all of it and a sign
// negates the result within the width ("$FFFFFFFF" is -1 in 32 bits).
bool ParseInteger(StringView text, int bits, std::int64_t& result) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  unsigned base = 10;
  if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return false;
  const std::uint64_t signBit = std::uint64_t{1} << (bits - 1);
  const std::uint64_t limit = base == 16 ? signBit - 1 + signBit : (negative ? signBit : signBit - 1);
  std::uint64_t v = 0;
  for (; i < text.size(); ++i) {
    const int digit = base == 16 ? HexValue(text[i]) : (text[i] >= u'0' && text[i] <= u'9' ? text[i] - u'0' : -1);
    if (digit < 0) return false;
    if (v > (limit - static_cast<std::uint64_t>(digit)) / base) return false;
    v = v * base + static_cast<std::uint64_t>(digit);
  }
  const std::uint64_t bitsValue = negative ? 0 - v : v;
  result = bits == 32 ? std::int64_t{static_cast<std::int32_t>(static_cast<std::uint32_t>(bitsValue))}
                      : static_cast<std::int64_t>(bitsValue);
  return true;
}

[[noreturn]] void InvalidInteger(StringView text) {
  throw EConvertError(u"''" + String(text) + u"'' is not a valid integer value");
}

// Leading and trailing blanks, a sign, digits with at most one decimal separator,
// an optional exponent. The result is the ASCII form that from_chars reads.
bool FloatSyntax(StringView text, char16_t decimal, std::string& ascii) {
  std::size_t i = 0, e = text.size();
  while (i < e && text[i] == u' ') ++i;
  while (e > i && text[e - 1] == u' ') --e;
  ascii.clear();
  if (i < e && (text[i] == u'+' || text[i] == u'-')) {
    if (text[i] == u'-') ascii.push_back('-');
    ++i;
  }
  bool digits = false, point = false;
  for (; i < e; ++i) {
    const char16_t c = text[i];
    if (c >= u'0' && c <= u'9') {
      ascii.push_back(static_cast<char>(c));
      digits = true;
    } else if (c == decimal && !point) {
      ascii.push_back('.');
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return false;
  if (i < e && (text[i] == u'e' || text[i] == u'E')) {
    ascii.push_back('e');
    ++i;
    if (i < e && (text[i] == u'+' || text[i] == u'-')) ascii.push_back(static_cast<char>(text[i++]));
    bool expDigits = false;
    for (; i < e && text[i] >= u'0' && text[i] <= u'9'; ++i) {
      ascii.push_back(static_cast<char>(text[i]));
      expDigits = true;
    }
    if (!expDigits) return false;
  }
  return i == e;
}

}  // namespace

bool TryStrToInt64(StringView text, std::int64_t& result) { return ParseInteger(text, 64, result); }

bool TryStrToInt(StringView text, std::int32_t& result) {
  std::int64_t v;
  if (!ParseInteger(text, 32, v)) return false;
  result = static_cast<std::int32_t>(v);
  return true;
}

std::int32_t StrToInt(StringView text) {
  std::int32_t v;
  if (!TryStrToInt(text, v)) InvalidInteger(text);
  return v;
}

std::int64_t StrToInt64(StringView text) {
  std::int64_t v;
  if (!TryStrToInt64(text, v)) InvalidInteger(text);
  return v;
}

String FloatToStrF(Extended value, TFloatFormat format, int precision, int digits, const TFormatSettings& s) {
  return FloatToText(value, format, precision, digits, s, true);
}

String FloatToStrF(Extended value, TFloatFormat format, int precision, int digits) {
  return FloatToStrF(value, format, precision, digits, FormatSettings());
}

String FloatToStr(Extended value, const TFormatSettings& settings) {
  return FloatToStrF(value, TFloatFormat::ffGeneral, 15, 0, settings);
}

String FloatToStr(Extended value) { return FloatToStr(value, FormatSettings()); }

bool TryStrToFloat(StringView text, Extended& result, const TFormatSettings& settings) {
  std::string ascii;
  if (!FloatSyntax(text, settings.DecimalSeparator, ascii)) return false;
  Extended v = 0;
  const auto r = std::from_chars(ascii.data(), ascii.data() + ascii.size(), v, std::chars_format::general);
  if (r.ec != std::errc() || r.ptr != ascii.data() + ascii.size() || !std::isfinite(v)) return false;
  result = v;
  return true;
}

bool TryStrToFloat(StringView text, Extended& result) { return TryStrToFloat(text, result, FormatSettings()); }

Extended StrToFloat(StringView text, const TFormatSettings& settings) {
  Extended v;
  if (!TryStrToFloat(text, v, settings)) throw EConvertError(u"''" + String(text) + u"'' is not a valid floating point value");
  return v;
}

Extended StrToFloat(StringView text) { return StrToFloat(text, FormatSettings()); }

bool TryStrToBool(StringView text, bool& result) {
  Extended v;
  if (TryStrToFloat(text, v)) {
    result = v != 0;
    return true;
  }
  if (SameTextAscii(text, u"True")) {
    result = true;
    return true;
  }
  if (SameTextAscii(text, u"False")) {
    result = false;
    return true;
  }
  return false;
}

bool StrToBool(StringView text) {
  bool v;
  if (!TryStrToBool(text, v)) throw EConvertError(u"'" + String(text) + u"' is not a valid boolean value");
  return v;
}

String BoolToStr(bool value, bool useBoolStrs) {
  if (useBoolStrs) return value ? u"True" : u"False";
  return value ? u"-1" : u"0";
}

}  // namespace qor::rtl
