#pragma once
// Byte-order marks and UTF checks shared by the file readers of the substitute.
#include <string_view>

#include "rtl/strings.h"

namespace qor::platform {

enum class TTextEncoding { Utf16LE, Utf16BE, Utf8Bom, Utf8, Other };

// Looks at a BOM, then at whether the bytes are valid UTF-8.
TTextEncoding DetectEncoding(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);
// Units of a UTF-16 byte sequence after its BOM; an odd last byte is dropped.
rtl::String DecodeUtf16(std::string_view bytes, bool bigEndian);

}  // namespace qor::platform
