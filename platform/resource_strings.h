#pragma once
// Texts of the running program's string table.
#include "rtl/strings.h"

namespace qor::platform {

// Windows: the string Id of the executable's string table (LoadStringW); where the
// executable has no such string, on POSIX and with the fakes, BuiltIn. The backend
// library linked provides it.
rtl::String ResourceString(unsigned Id, rtl::StringView BuiltIn);

}  // namespace qor::platform
