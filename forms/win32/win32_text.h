#pragma once
// The one place where the form model's UTF-16 strings meet the wide-character
// Windows API: both are 16-bit code units, so only the pointer type changes.
#include <cstddef>

#include "rtl/strings.h"

namespace qor::forms::win32 {

static_assert(sizeof(wchar_t) == 2, "the Win32 widgetset needs 16-bit wchar_t");

inline const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
inline wchar_t* Wide(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }
// NUL-terminated: views are copied into a String first.
inline const wchar_t* Wide(const rtl::String& text) { return Wide(text.c_str()); }
inline rtl::String FromWide(const wchar_t* text, std::size_t length) {
  return rtl::String(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace qor::forms::win32
