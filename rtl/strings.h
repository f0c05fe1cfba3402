#pragma once
// UTF-16 strings and the few text helpers every module needs.
#include <string>
#include <string_view>

namespace qor::rtl {

using String = std::u16string;
using StringView = std::u16string_view;

// UTF-8 only at the toolkit and POSIX boundary; invalid input becomes U+FFFD.
String Utf8ToString(std::string_view text);
std::string StringToUtf8(StringView text);

// Only the ASCII letters change.
String AsciiUpperCase(StringView text);
String AsciiLowerCase(StringView text);
// Unicode upper / lower casing of a whole string (Latin, Cyrillic, Greek and the
// other simple one-to-one mappings).
String UpperCase(StringView text);
String LowerCase(StringView text);
bool SameTextAscii(StringView a, StringView b);

// Blanks and control characters (code <= U+0020) at either end are removed.
String Trim(StringView text);
String TrimLeft(StringView text);
String TrimRight(StringView text);

// Every occurrence; IgnoreCase compares ASCII letters without case.
String StringReplace(StringView text, StringView from, StringView to, bool ignoreCase = false);

String IntToStr(long long value);

}  // namespace qor::rtl
