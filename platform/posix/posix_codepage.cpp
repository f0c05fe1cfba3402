#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/posix_services.h"
#include "platform/posix/posix_util.h"

namespace qor::platform::posix {

namespace {
// The iconv name of a Windows code page number; empty when unknown.
std::string IconvName(unsigned codePage) {
  switch (codePage) {
    case 20127:
      return "ASCII";
    case 20866:
      return "KOI8-R";
    case 21866:
      return "KOI8-U";
    default:
      break;
  }
  if (codePage >= 28591 && codePage <= 28606) return "ISO-8859-" + std::to_string(codePage - 28590);
  if ((codePage >= 1250 && codePage <= 1258) || codePage == 437 || codePage == 850 || codePage == 852 ||
      codePage == 855 || codePage == 866 || codePage == 874)
    return "CP" + std::to_string(codePage);
  return {};
}

// A Windows code page number for an iconv / nl_langinfo character set name.
unsigned CodePageOfCharset(std::string_view charset) {
  std::string s(charset);
  for (char& c : s) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  if (s == "UTF-8" || s == "UTF8") return kCodePageUtf8;
  if (s == "KOI8-R") return 20866;
  if (s == "KOI8-U") return 21866;
  if (s.rfind("ISO-8859-", 0) == 0) return 28590 + static_cast<unsigned>(std::atoi(s.c_str() + 9));
  if (s.rfind("CP", 0) == 0) return static_cast<unsigned>(std::atoi(s.c_str() + 2));
  // The C locale's ASCII: the terminals that show it read UTF-8.
  return kCodePageUtf8;
}
}  // namespace

std::string EnvironmentLocale(const char* category) {
  for (const char* name : {"LC_ALL", category, "LANG"}) {
    const std::optional<std::string> v = Env(name);
    if (v && !v->empty()) return *v;
  }
  return "C";
}

unsigned TPosixCodePages::AnsiCodePageForLocale(std::string_view name) {
  const std::string_view language = name.substr(0, name.find_first_of("_.@"));
  for (std::string_view cyrillic : {"ru", "uk", "be", "bg", "mk"})
    if (language == cyrillic) return 1251;
  return 1252;
}

unsigned TPosixCodePages::AnsiCodePage() { return AnsiCodePageForLocale(EnvironmentLocale("LC_CTYPE")); }

unsigned TPosixCodePages::OemCodePage() {
  const locale_t loc = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) {
    // The environment names a locale the system lacks: its suffix tells the charset.
    const std::string name = EnvironmentLocale("LC_CTYPE");
    const std::size_t dot = name.find('.');
    return dot == std::string::npos ? kCodePageUtf8 : CodePageOfCharset(name.substr(dot + 1, name.find('@') - dot - 1));
  }
  const unsigned cp = CodePageOfCharset(nl_langinfo_l(CODESET, loc));
  freelocale(loc);
  return cp;
}

// Single-byte pages become two tables, filled by iconv one character at a time; a
// byte the page leaves undefined maps to the control character of its number, as
// Windows does.
const TPosixCodePages::TTable* TPosixCodePages::Table(unsigned codePage) {
  std::lock_guard<std::mutex> lock(FLock);
  auto [it, inserted] = FTables.try_emplace(codePage);
  TTable& t = it->second;
  if (!inserted) return t.Valid ? &t : nullptr;
  const std::string name = IconvName(codePage);
  if (name.empty()) return nullptr;
  iconv_t cd = iconv_open("UTF-16LE", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
  for (unsigned b = 0; b < 256; ++b) {
    char in = static_cast<char>(b);
    unsigned char out[8];
    char* inp = &in;
    char* outp = reinterpret_cast<char*>(out);
    std::size_t inLeft = 1, outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const std::size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    char16_t c = static_cast<char16_t>(b);
    if (r != static_cast<std::size_t>(-1) && sizeof out - outLeft == 2)
      c = static_cast<char16_t>(out[0] | (out[1] << 8));
    t.Decode[b] = c;
    t.Encode.emplace(c, static_cast<unsigned char>(b));
  }
  iconv_close(cd);
  t.Valid = true;
  return &t;
}

std::string TPosixCodePages::FromUnicode(unsigned codePage, rtl::StringView text, bool* usedDefault) {
  if (usedDefault) *usedDefault = false;
  if (codePage == kCodePageUtf8) return rtl::StringToUtf8(text);
  std::string out;
  out.reserve(text.size());
  const TTable* table = Table(codePage);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (table) {
      if (auto e = table->Encode.find(c); e != table->Encode.end()) {
        out.push_back(static_cast<char>(e->second));
        continue;
      }
    } else if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    // No best fit: a default character for each unit, as Windows does for a surrogate pair.
    out.push_back('?');
    if (usedDefault) *usedDefault = true;
  }
  return out;
}

rtl::String TPosixCodePages::ToUnicode(unsigned codePage, std::string_view bytes) {
  if (codePage == kCodePageUtf8) return rtl::Utf8ToString(bytes);
  const TTable* table = Table(codePage);
  rtl::String out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    out.push_back(table ? table->Decode[b] : b < 0x80 ? static_cast<char16_t>(b) : u'\uFFFD');
  }
  return out;
}

}  // namespace qor::platform::posix
