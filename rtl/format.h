#pragma once
// Format with a typed argument list, as the classic runtime does it.
#include <cstdint>
#include <variant>
#include <vector>

#include "rtl/format_settings.h"
#include "rtl/strings.h"

namespace qor::rtl {

using Extended = long double;

// One typed value of an argument list.
class TVarRec {
 public:
  enum class Kind { Integer, Extended, Char, String, Boolean, Pointer };

  TVarRec(int v) : FValue(static_cast<std::int64_t>(v)) {}
  TVarRec(long v) : FValue(static_cast<std::int64_t>(v)) {}
  TVarRec(long long v) : FValue(static_cast<std::int64_t>(v)) {}
  TVarRec(unsigned v) : FValue(static_cast<std::int64_t>(v)) {}
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
  std::int64_t AsInteger() const { return std::get<0>(FValue); }
  Extended AsExtended() const { return std::get<1>(FValue); }
  char16_t AsChar() const { return std::get<2>(FValue); }
  const String& AsString() const { return std::get<3>(FValue); }
  bool AsBoolean() const { return std::get<4>(FValue); }
  const void* AsPointer() const { return std::get<5>(FValue); }

  bool operator==(const TVarRec&) const = default;

 private:
  std::variant<std::int64_t, Extended, char16_t, String, bool, const void*> FValue;
};

using TArgList = std::vector<TVarRec>;

// %[index:][-][width][.prec]type with types d u x e f g n m s p; %% is a percent
// sign; * takes width or precision from the list. %f without precision gives two
// decimals. A bad format or an argument of the wrong type raises EConvertError.
String Format(StringView format, const TArgList& args);
String Format(StringView format, const TArgList& args, const TFormatSettings& settings);

}  // namespace qor::rtl
