#include "platform/text_decode.h"

namespace qor::platform {

bool IsValidUtf8(std::string_view bytes) {
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char c = s[i];
    std::size_t len;
    char32_t cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      len = 2, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4, cp = c & 0x07;
    } else {
      return false;
    }
    if (i + len > n) return false;
    for (std::size_t k = 1; k < len; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += len;
  }
  return true;
}

TTextEncoding DetectEncoding(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') return TTextEncoding::Utf16LE;
  if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') return TTextEncoding::Utf16BE;
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return TTextEncoding::Utf8Bom;
  return IsValidUtf8(bytes) ? TTextEncoding::Utf8 : TTextEncoding::Other;
}

rtl::String DecodeUtf16(std::string_view bytes, bool bigEndian) {
  rtl::String out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    out.push_back(static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
  }
  return out;
}

}  // namespace qor::platform
