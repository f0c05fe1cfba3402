#include "platform/win32/wide.h"
#include "platform/win32/win32_services.h"

namespace qor::platform::win32 {

unsigned TWin32CodePages::AnsiCodePage() { return ::GetACP(); }
unsigned TWin32CodePages::OemCodePage() { return ::GetOEMCP(); }

std::string TWin32CodePages::FromUnicode(unsigned codePage, rtl::StringView text, bool* usedDefault) {
  if (usedDefault) *usedDefault = false;
  if (text.empty()) return {};
  // UTF-8 and the other code pages without a default character take no such flags.
  const bool plain = codePage == CP_UTF8 || codePage == CP_UTF7 || (codePage >= 50220 && codePage <= 57011);
  const DWORD flags = plain ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL defaulted = FALSE;
  BOOL* defaultedPtr = plain ? nullptr : &defaulted;
  const int n = ::WideCharToMultiByte(codePage, flags, W(text.data()), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, defaultedPtr);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  const int got = ::WideCharToMultiByte(codePage, flags, W(text.data()), static_cast<int>(text.size()), out.data(), n,
                                        nullptr, defaultedPtr);
  out.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  if (usedDefault) *usedDefault = defaulted != FALSE;
  return out;
}

rtl::String TWin32CodePages::ToUnicode(unsigned codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int n = ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (n <= 0) return {};
  std::vector<wchar_t> out(static_cast<std::size_t>(n));
  const int got = ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return got > 0 ? rtl::String(U(out.data()), static_cast<std::size_t>(got)) : rtl::String();
}

}  // namespace qor::platform::win32
