#pragma once
// Decimal digits of a float, the common ground of FloatToStr, FloatToStrF and Format.
#include <string>

#include "rtl/convert.h"
#include "rtl/format.h"

namespace qor::rtl {

// value = (Negative ? -1 : 1) * 0.Digits * 10^Exponent; Digits has no leading or
// trailing zeros and is empty for zero.
struct TFloatDigits {
  bool Negative = false;
  bool NaN = false;
  bool Infinite = false;
  std::string Digits;
  int Exponent = 0;
};

// The most significant digits a float shows, and the most decimals of the fixed formats.
inline constexpr int kMaxFloatDigits = 18;

// At most precision (1..18) significant digits, rounded half away from zero.
TFloatDigits FloatToDigits(Extended value, int precision);

// FloatToStrF; fixedMayUseExponent off keeps the fixed formats fixed however large
// the value (Format's %f, %n, %m). Decimals stop at 18.
String FloatToText(Extended value, TFloatFormat format, int precision, int digits, const TFormatSettings& s,
                   bool fixedMayUseExponent);

// Keeps the first count digits, rounding half away from zero (count may be <= 0).
void RoundDigits(TFloatDigits& d, int count);

}  // namespace qor::rtl
