#pragma once
// 8-bit code pages: ANSI, OEM (the console's on POSIX: the terminal's character set)
// and conversions in both directions.
#include <string>
#include <string_view>

#include "rtl/strings.h"

namespace qor::platform {

inline constexpr unsigned kCodePageUtf8 = 65001;

class TCodePageService {
 public:
  virtual ~TCodePageService() = default;
  virtual unsigned AnsiCodePage() = 0;
  // The OEM code page on Windows; on POSIX the terminal's character set (65001 as a rule).
  virtual unsigned OemCodePage() = 0;
  // WideCharToMultiByte without best-fit substitutes: a character the page lacks
  // becomes the page's default character ('?'); usedDefault tells whether that
  // happened. Output sized by the conversion itself.
  virtual std::string FromUnicode(unsigned codePage, rtl::StringView text, bool* usedDefault = nullptr) = 0;
  virtual rtl::String ToUnicode(unsigned codePage, std::string_view bytes) = 0;

  std::string UnicodeToAnsi(rtl::StringView text) { return FromUnicode(AnsiCodePage(), text); }
  rtl::String AnsiToUnicode(std::string_view bytes) { return ToUnicode(AnsiCodePage(), bytes); }
  // CharToOemW
  std::string UnicodeToOem(rtl::StringView text) { return FromUnicode(OemCodePage(), text); }
  rtl::String OemToUnicode(std::string_view bytes) { return ToUnicode(OemCodePage(), bytes); }
};

}  // namespace qor::platform
