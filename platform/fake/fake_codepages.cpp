#include "platform/fake/codepage_tables.h"
#include "platform/fake/fake_platform.h"

namespace qor::platform::fake {

namespace {
const char16_t* HighHalf(unsigned codePage) {
  switch (codePage) {
    case 1251: return kCodePage1251High.data();
    case 1252: return kCodePage1252High.data();
    case 866: return kCodePage866High.data();
    case 437: return kCodePage437High.data();
    default: return nullptr;
  }
}
}  // namespace

std::string TFakeCodePages::FromUnicode(unsigned codePage, rtl::StringView text, bool* usedDefault) {
  if (usedDefault) *usedDefault = false;
  if (codePage == kCodePageUtf8) return rtl::StringToUtf8(text);
  const char16_t* high = HighHalf(codePage);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    int found = -1;
    for (int b = 0; high && b < 128 && found < 0; ++b)
      if (high[b] == c) found = b;
    if (found >= 0) {
      out.push_back(static_cast<char>(0x80 + found));
      continue;
    }
    // No best fit: a default character for each unit, as Windows does for a surrogate pair.
    out.push_back('?');
    if (usedDefault) *usedDefault = true;
  }
  return out;
}

rtl::String TFakeCodePages::ToUnicode(unsigned codePage, std::string_view bytes) {
  if (codePage == kCodePageUtf8) return rtl::Utf8ToString(bytes);
  const char16_t* high = HighHalf(codePage);
  rtl::String out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    out.push_back(b < 0x80 ? static_cast<char16_t>(b) : high ? high[b - 0x80] : static_cast<char16_t>(b));
  }
  return out;
}

}  // namespace qor::platform::fake
