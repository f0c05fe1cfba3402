#include "rtl/format.h"

#include <charconv>
#include <cstdint>

#include "rtl/convert.h"
#include "rtl/exceptions.h"
#include "rtl/float_digits.h"

namespace qor::rtl {

namespace {

[[noreturn]] void InvalidFormat(StringView format) {
  throw EConvertError(u"Format '" + String(format) + u"' invalid or incompatible with argument");
}

[[noreturn]] void ArgumentMissing(StringView format) {
  throw EConvertError(u"No argument for format '" + String(format) + u"'");
}

String Digits(std::uint64_t value, int base) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, value, base);
  String out;
  for (const char* p = buf; p < r.ptr; ++p) out.push_back(static_cast<char16_t>(*p >= 'a' ? *p - 32 : *p));
  return out;
}

// Zeros in front up to precision digits, after the sign.
String PadDigits(String digits, int precision, bool negative) {
  if (precision > 0 && static_cast<int>(digits.size()) < precision)
    digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), u'0');
  return negative ? u"-" + digits : digits;
}

class TFormatter {
 public:
  TFormatter(StringView format, const TArgList& args, const TFormatSettings& settings)
      : FFormat(format), FArgs(args), FSettings(settings) {}

  String Run() {
    String out;
    std::size_t i = 0;
    const std::size_t n = FFormat.size();
    while (i < n) {
      const char16_t c = FFormat[i++];
      if (c != u'%') {
        out.push_back(c);
        continue;
      }
      if (i >= n) InvalidFormat(FFormat);
      if (FFormat[i] == u'%') {
        out.push_back(u'%');
        ++i;
        continue;
      }
      // [index:][-][width][.prec]type
      int number = -1;
      bool haveNumber = ReadNumber(i, number);
      if (haveNumber && i < n && FFormat[i] == u':') {
        if (number < 0) InvalidFormat(FFormat);
        FArgIndex = static_cast<std::size_t>(number);
        ++i;
        haveNumber = false;
      }
      bool left = false;
      if (!haveNumber && i < n && FFormat[i] == u'-') {
        left = true;
        ++i;
      }
      int width = -1;
      if (haveNumber)
        width = number;
      else
        ReadNumber(i, width);
      int precision = -1;
      if (i < n && FFormat[i] == u'.') {
        ++i;
        if (!ReadNumber(i, precision)) precision = 0;
      }
      if (i >= n) InvalidFormat(FFormat);
      const char16_t type = FFormat[i++];
      String piece = Convert(type, precision);
      if (width > 0 && static_cast<int>(piece.size()) < width) {
        const std::size_t fill = static_cast<std::size_t>(width) - piece.size();
        if (left)
          piece.append(fill, u' ');
        else
          piece.insert(0, fill, u' ');
      }
      out += piece;
    }
    return out;
  }

 private:
  // Digits or '*' (taken from the list); false when neither is there.
  bool ReadNumber(std::size_t& i, int& value) {
    const std::size_t n = FFormat.size();
    if (i < n && FFormat[i] == u'*') {
      ++i;
      const TVarRec& arg = NextArg();
      if (!arg.IsInteger()) InvalidFormat(FFormat);
      const std::int64_t v = arg.AsInteger();
      value = v < 0 ? -1 : (v > 1000000 ? 1000000 : static_cast<int>(v));
      return true;
    }
    if (i >= n || FFormat[i] < u'0' || FFormat[i] > u'9') return false;
    long long v = 0;
    while (i < n && FFormat[i] >= u'0' && FFormat[i] <= u'9') {
      v = v * 10 + (FFormat[i++] - u'0');
      if (v > 1000000) InvalidFormat(FFormat);
    }
    value = static_cast<int>(v);
    return true;
  }

  const TVarRec& NextArg() {
    if (FArgIndex >= FArgs.size()) ArgumentMissing(FFormat);
    return FArgs[FArgIndex++];
  }

  String Convert(char16_t type, int precision) {
    const TVarRec& arg = NextArg();
    const auto kind = arg.kind();
    switch (type) {
      case u'd':
      case u'D': {
        if (!arg.IsInteger()) InvalidFormat(FFormat);
        const std::int64_t v = arg.AsInteger();
        const std::uint64_t m = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
        return PadDigits(Digits(m, 10), precision, v < 0);
      }
      case u'u':
      case u'U':
        return PadDigits(Digits(UnsignedBits(arg), 10), precision, false);
      case u'x':
      case u'X':
        return PadDigits(Digits(UnsignedBits(arg), 16), precision, false);
      case u'e':
      case u'E':
        return FloatToText(FloatArg(arg), TFloatFormat::ffExponent, precision < 0 ? 15 : precision, 3, FSettings,
                           false);
      case u'f':
      case u'F':
        return FloatToText(FloatArg(arg), TFloatFormat::ffFixed, kMaxFloatDigits, precision < 0 ? 2 : precision,
                           FSettings, false);
      case u'g':
      case u'G':
        return FloatToText(FloatArg(arg), TFloatFormat::ffGeneral, precision < 0 ? 15 : precision, 0, FSettings,
                           false);
      case u'n':
      case u'N':
        return FloatToText(FloatArg(arg), TFloatFormat::ffNumber, kMaxFloatDigits, precision < 0 ? 2 : precision,
                           FSettings, false);
      case u'm':
      case u'M':
        return FloatToText(FloatArg(arg), TFloatFormat::ffCurrency, kMaxFloatDigits,
                           precision < 0 ? FSettings.CurrencyDecimals : precision, FSettings, false);
      case u's':
      case u'S': {
        String s;
        if (kind == TVarRec::Kind::String)
          s = arg.AsString();
        else if (kind == TVarRec::Kind::Char)
          s = String(1, arg.AsChar());
        else
          InvalidFormat(FFormat);
        if (precision >= 0 && static_cast<std::size_t>(precision) < s.size()) s.resize(static_cast<std::size_t>(precision));
        return s;
      }
      case u'p':
      case u'P': {
        if (kind != TVarRec::Kind::Pointer) InvalidFormat(FFormat);
        const auto v = reinterpret_cast<std::uintptr_t>(arg.AsPointer());
        return PadDigits(Digits(v, 16), static_cast<int>(sizeof(void*) * 2), false);
      }
      default:
        InvalidFormat(FFormat);
    }
  }

  // The two's complement of an integer in its own width, read as unsigned.
  std::uint64_t UnsignedBits(const TVarRec& arg) const {
    if (!arg.IsInteger()) InvalidFormat(FFormat);
    const std::int64_t v = arg.AsInteger();
    return arg.kind() == TVarRec::Kind::Integer ? std::uint64_t{static_cast<std::uint32_t>(v)}
                                                : static_cast<std::uint64_t>(v);
  }

  Extended FloatArg(const TVarRec& arg) const {
    if (arg.kind() != TVarRec::Kind::Extended) InvalidFormat(FFormat);
    return arg.AsExtended();
  }

  StringView FFormat;
  const TArgList& FArgs;
  const TFormatSettings& FSettings;
  std::size_t FArgIndex = 0;
};

}  // namespace

String Format(StringView format, const TArgList& args, const TFormatSettings& settings) {
  return TFormatter(format, args, settings).Run();
}

String Format(StringView format, const TArgList& args) { return Format(format, args, FormatSettings()); }

}  // namespace qor::rtl
