#pragma once
// The one bridge between the system's UTF-16 strings (wchar_t) and ours (char16_t).
#include <string>

#include "rtl/strings.h"

namespace qor::platform::win32 {

static_assert(sizeof(wchar_t) == 2, "Windows strings are UTF-16");

inline const wchar_t* W(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }
inline wchar_t* W(char16_t* s) { return reinterpret_cast<wchar_t*>(s); }
inline const char16_t* U(const wchar_t* s) { return reinterpret_cast<const char16_t*>(s); }
inline char16_t* U(wchar_t* s) { return reinterpret_cast<char16_t*>(s); }

// A NUL-terminated copy of a view, for the calls that want one.
inline rtl::String Z(rtl::StringView s) { return rtl::String(s); }

}  // namespace qor::platform::win32
