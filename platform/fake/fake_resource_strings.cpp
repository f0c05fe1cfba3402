#include "platform/resource_strings.h"

namespace qor::platform {

// No string table here: the texts are built in.
rtl::String ResourceString(unsigned, rtl::StringView BuiltIn) { return rtl::String(BuiltIn); }

}  // namespace qor::platform
