#pragma once
// Number and Boolean conversions; to_chars / from_chars only, never the C locale.
#include <cstdint>

#include "rtl/format.h"
#include "rtl/format_settings.h"
#include "rtl/strings.h"

namespace qor::rtl {

// Optional leading blanks, optional sign, then decimal digits or hexadecimal
// digits after $, x, X, 0x or 0X; nothing may follow. Out of range is an error.
// Hexadecimal digits are the two's complement within the result's width: for
// StrToInt "$FFFFFFFF" is -1 and "$100000000" out of range; a sign negates
// ("-$10" is -16).
bool TryStrToInt(StringView text, std::int32_t& result);
bool TryStrToInt64(StringView text, std::int64_t& result);
// "''%s'' is not a valid integer value"
std::int32_t StrToInt(StringView text);
std::int64_t StrToInt64(StringView text);

// General format, 15 significant digits, exponent form for large and small magnitudes:
// 100000000000000 and 0.00001 stay fixed, 1E15 and 1E-6 do not; NAN, INF, -INF.
String FloatToStr(Extended value);
String FloatToStr(Extended value, const TFormatSettings& settings);

// The classic float formats. precision: significant digits (1..18); digits: the
// minimum exponent digits (general, exponent) or the decimals (fixed, number, currency).
enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
String FloatToStrF(Extended value, TFloatFormat format, int precision, int digits);
String FloatToStrF(Extended value, TFloatFormat format, int precision, int digits,
                   const TFormatSettings& settings);
bool TryStrToFloat(StringView text, Extended& result);
bool TryStrToFloat(StringView text, Extended& result, const TFormatSettings& settings);
// "''%s'' is not a valid floating point value"
Extended StrToFloat(StringView text);
Extended StrToFloat(StringView text, const TFormatSettings& settings);

// A number read with the process-wide decimal separator (zero false, any other
// true), or "True"/"False" in any letter case. "'%s' is not a valid boolean value"
bool TryStrToBool(StringView text, bool& result);
bool StrToBool(StringView text);
String BoolToStr(bool value, bool useBoolStrs = false);

}  // namespace qor::rtl
