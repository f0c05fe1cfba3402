#include "rtl/exceptions.h"

#include <cstdlib>
#if defined(__GNUC__)
#include <cxxabi.h>
#endif

#include "rtl/format.h"

namespace qor::rtl {

namespace {

// The class name of the std::exception in flight where the C++ runtime can tell
// it (GCC and Clang runtimes, MinGW's included), else "Exception".
String CurrentExceptionClassName() {
#if defined(__GNUC__)
  if (const std::type_info* type = abi::__cxa_current_exception_type()) {
    int status = 0;
    char* name = abi::__cxa_demangle(type->name(), nullptr, nullptr, &status);
    String result = status == 0 && name ? Utf8ToString(name) : String();
    std::free(name);
    if (!result.empty()) return result;
  }
#endif
  return u"Exception";
}

}  // namespace

std::unique_ptr<Exception> CurrentException() {
  try {
    throw;
  } catch (const Exception& e) {
    return e.Clone();
  } catch (const std::exception& e) {
    return std::make_unique<EForeignException>(CurrentExceptionClassName(), Utf8ToString(e.what()));
  } catch (...) {
    return std::make_unique<EForeignException>(u"Exception", String());
  }
}

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
