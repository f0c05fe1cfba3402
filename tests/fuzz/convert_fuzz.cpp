// libFuzzer target: Format, FormatDateTime and the StrTo* family. Any format and any
// text raise at most EConvertError, never crash or hit undefined behaviour; and numbers
// survive their trip through text: integers exactly (decimal and Format's
// hexadecimal), floats to FloatToStr's 15 digits.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "fuzz_input.h"
#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/exceptions.h"
#include "rtl/format.h"

using namespace qor;
using rtl::String;

namespace {

// Widths and precisions go up to a million each: short formats keep the fuzzer on
// the parser rather than on memory.
constexpr std::size_t kMaxFormat = 200;

rtl::TFormatSettings Settings(std::uint8_t choice) {
  rtl::TFormatSettings s = rtl::NeutralFormatSettings();
  if (choice & 1) {
    s.DecimalSeparator = u',';
    s.ThousandSeparator = u' ';
    s.DateSeparator = u'.';
    s.ShortDateFormat = u"dd.mm.yyyy";
  }
  return s;
}

void IntegersRoundTrip(std::int64_t n) {
  if (rtl::StrToInt64(rtl::IntToStr(n)) != n) std::abort();
  if (rtl::Format(u"%d", {n}) != rtl::IntToStr(n)) std::abort();
  if (rtl::StrToInt64(u"$" + rtl::Format(u"%x", {n})) != n) std::abort();
  const auto n32 = static_cast<std::int32_t>(n);
  if (rtl::StrToInt(rtl::IntToStr(n32)) != n32) std::abort();
  if (rtl::StrToInt(u"$" + rtl::Format(u"%x", {n32})) != n32) std::abort();
}

void FloatRoundTrip(double x, const rtl::TFormatSettings& s) {
  const String text = rtl::FloatToStr(x, s);
  if (!std::isfinite(x)) return;
  const rtl::Extended back = rtl::StrToFloat(text, s);
  const rtl::Extended error = std::fabs(back - static_cast<rtl::Extended>(x));
  if (error > std::fabs(static_cast<rtl::Extended>(x)) * 1e-14L) std::abort();
  if (rtl::FloatToStr(back, s) != text) std::abort();
}

template <class F>
void MayRaiseConvertError(F f) {
  try {
    f();
  } catch (const rtl::EConvertError& e) {
    if (e.Message().empty()) std::abort();
  }
}

// Try* accepts exactly the texts that StrTo* converts.
template <class Try, class Convert>
void AgreesWithTry(Try tryConvert, Convert convert) {
  const bool accepted = tryConvert();
  bool converted = true;
  try {
    convert();
  } catch (const rtl::EConvertError&) {
    converted = false;
  }
  if (accepted != converted) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput input(data, size);
  const rtl::TFormatSettings s = Settings(input.Byte());
  const std::uint64_t bits = input.U64();
  const auto n = std::bit_cast<std::int64_t>(bits);
  const auto x = std::bit_cast<double>(bits);
  const String format = input.Latin1(kMaxFormat);
  const String text = input.Latin1(size);

  IntegersRoundTrip(n);
  FloatRoundTrip(x, s);
  rtl::Format(u"%e|%f|%g|%n|%m|%.0f|%.18e|%.18f", {x, x, x, x, x, x, x, x}, s);

  const rtl::TArgList args = {static_cast<std::int32_t>(n), n, x, text, u'c', true, static_cast<const void*>(data)};
  MayRaiseConvertError([&] { rtl::Format(format, args, s); });
  MayRaiseConvertError([&] { rtl::FormatDateTime(format, x, s); });
  MayRaiseConvertError([&] { rtl::DateTimeToStr(x, s); });

  AgreesWithTry([&] { std::int32_t v; return rtl::TryStrToInt(text, v); }, [&] { rtl::StrToInt(text); });
  AgreesWithTry([&] { std::int64_t v; return rtl::TryStrToInt64(text, v); }, [&] { rtl::StrToInt64(text); });
  AgreesWithTry([&] { rtl::Extended v; return rtl::TryStrToFloat(text, v, s); }, [&] { rtl::StrToFloat(text, s); });
  AgreesWithTry([&] { rtl::TDateTime v; return rtl::TryStrToDate(text, v, s); }, [&] { rtl::StrToDate(text, s); });
  AgreesWithTry([&] { rtl::TDateTime v; return rtl::TryStrToTime(text, v, s); }, [&] { rtl::StrToTime(text, s); });
  AgreesWithTry([&] { rtl::TDateTime v; return rtl::TryStrToDateTime(text, v, s); },
                [&] { rtl::StrToDateTime(text, s); });
  bool b;
  rtl::TryStrToBool(text, b);
  return 0;
}
