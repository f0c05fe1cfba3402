#pragma once
// Format with a typed argument list, as the classic runtime does it.
#include <cstdint>
#include <type_traits>
#include <variant>
#include <vector>

#include "rtl/format_settings.h"
#include "rtl/strings.h"

namespace qor::rtl {

using Extended = long double;

// One typed value of an argument list. Integers keep their width: int (and a
// 32-bit long) is an Integer, the wider and the unsigned types an Int64, so that
// %x and %u show the two's complement of the caller's type.
class TVarRec {
 public:
  enum class Kind { Integer, Extended, Char, String, Boolean, Pointer, Int64 };

  TVarRec(int v) : FValue(std::int32_t{v}) {}
  TVarRec(long v) : FValue(static_cast<std::conditional_t<sizeof(long) == 4, std::int32_t, std::int64_t>>(v)) {}
  TVarRec(long long v) : FValue(std::int64_t{v}) {}
  TVarRec(unsigned v) : FValue(std::int64_t{v}) {}
  TVarRec(unsigned long v) : FValue(static_cast<std::int64_t>(v)) {}
  TVarRec(unsigned long long v) : FValue(static_cast<std::int64_t>(v)) {}
  TVarRec(double v) : FValue(static_cast<Extended>(v)) {}
  TVarRec(long double v) : FValue(static_cast<Extended>(v)) {}
  TVarRec(char16_t v) : FValue(v) {}
  TVarRec(bool v) : FValue(v) {}
  TVarRec(const char16_t* v) : FValue(String(v)) {}
  TVarRec(StringView v) : FValue(String(v)) {}
  TVarRec(String v) : FValue(std::move(v)) {}
  TVarRec(const void* v) : FValue(v) {}

  Kind kind() const { return static_cast<Kind>(FValue.index()); }
  // Integer or Int64.
  bool IsInteger() const { return kind() == Kind::Integer || kind() == Kind::Int64; }
  std::int64_t AsInteger() const {
    return kind() == Kind::Integer ? std::get<0>(FValue) : std::get<6>(FValue);
  }
  Extended AsExtended() const { return std::get<1>(FValue); }
  char16_t AsChar() const { return std::get<2>(FValue); }
  const String& AsString() const { return std::get<3>(FValue); }
  bool AsBoolean() const { return std::get<4>(FValue); }
  const void* AsPointer() const { return std::get<5>(FValue); }

  bool operator==(const TVarRec&) const = default;

 private:
  std::variant<std::int32_t, Extended, char16_t, String, bool, const void*, std::int64_t> FValue;
};

using TArgList = std::vector<TVarRec>;

// %[index:][-][width][.prec]type with types d u x e f g n m s p; %% is a percent
// sign; * takes width or precision from the list. %f without precision gives two
// decimals; %f, %n and %m show up to 18 significant digits and 18 decimals. A bad
// format or an argument of the wrong type raises EConvertError.
String Format(StringView format, const TArgList& args);
String Format(StringView format, const TArgList& args, const TFormatSettings& settings);

}  // namespace qor::rtl
