#pragma once
// Registry probes of the launcher: does a value exist, what string does it hold.
#include "platform/registry.h"
#include "rtl/strings.h"

namespace qor {

// True when Key opens for reading under Root and holds a value named Name, of any type.
bool RegValueExists(rtl::StringView Name, platform::TRegRoot Root, rtl::StringView Key);

// The value's text; Default when the key or the value is absent. Zero-length data
// gives the empty string; REG_SZ and REG_EXPAND_SZ give the characters before the
// first NUL, unexpanded; any other type raises ERegistryException
// "Invalid data type for '%s'".
rtl::String RegReadString(rtl::StringView Name, rtl::StringView Default, platform::TRegRoot Root, rtl::StringView Key);

}  // namespace qor
