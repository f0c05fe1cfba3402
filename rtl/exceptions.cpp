#include "rtl/exceptions.h"

#include "rtl/format.h"

namespace qor::rtl {

const char* Exception::what() const noexcept {
  try {
    if (FWhat.empty()) FWhat = StringToUtf8(FMessage);
    return FWhat.c_str();
  } catch (...) {
    return "Exception";
  }
}

void AssertionFailed(StringView message, StringView unit, int line) {
  throw EAssertionFailed(Format(u"%s (%s, line %d)", {String(message), String(unit), line}));
}

void ListIndexError(long long index) {
  throw EArgumentOutOfRangeException(Format(u"List index out of bounds (%d)", {index}));
}

}  // namespace qor::rtl
