#include "platform/posix/reg_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/text_decode.h"
#include "rtl/format.h"

namespace qor::platform::posix {

namespace {

constexpr std::u16string_view kHeader5 = u"Windows Registry Editor Version 5.00";
constexpr std::u16string_view kHeader4 = u"REGEDIT4";

struct TRootName {
  std::u16string_view Full, Short;
};
constexpr TRootName kRoots[] = {
    {u"HKEY_LOCAL_MACHINE", u"HKLM"}, {u"HKEY_CURRENT_USER", u"HKCU"},   {u"HKEY_CLASSES_ROOT", u"HKCR"},
    {u"HKEY_USERS", u"HKU"},          {u"HKEY_CURRENT_CONFIG", u"HKCC"}, {u"HKEY_DYN_DATA", u"HKDD"},
};

bool Blank(char16_t c) { return c == u' ' || c == u'\t'; }

rtl::StringView TrimBlanks(rtl::StringView s) {
  while (!s.empty() && Blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && Blank(s.back())) s.remove_suffix(1);
  return s;
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool StartsWithNoCase(rtl::StringView s, rtl::StringView prefix) {
  return s.size() >= prefix.size() && rtl::AsciiUpperCase(s.substr(0, prefix.size())) == rtl::AsciiUpperCase(prefix);
}

void AppendUtf16(std::vector<std::uint8_t>& out, rtl::StringView s) {
  for (char16_t c : s) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
}

// Splits the decoded text into physical lines, numbered from 1.
std::vector<rtl::StringView> SplitLines(rtl::StringView text) {
  std::vector<rtl::StringView> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of(u"\r\n", pos);
    if (end == rtl::StringView::npos) {
      lines.push_back(text.substr(pos));
      break;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 1;
    if (text[end] == u'\r' && pos < text.size() && text[pos] == u'\n') ++pos;
  }
  return lines;
}

class TParser {
 public:
  TParser(rtl::StringView fileName, const TAnsiDecoder& ansi) : FFileName(fileName), FAnsi(ansi) {}

  std::map<rtl::String, TRegStoreKey> Parse(std::string_view bytes) {
    const rtl::String text = Decode(bytes);
    const std::vector<rtl::StringView> lines = SplitLines(text);
    bool header = false;
    for (FIndex = 0; FIndex < lines.size(); ++FIndex) {
      FLine = FIndex + 1;
      rtl::StringView line = TrimBlanks(lines[FIndex]);
      if (line.empty()) continue;
      if (!header) {
        if (line != kHeader5 && line != kHeader4)
          Fail(u"not a registry export file (no \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\" header)");
        if ((line == kHeader4) != FRegedit4) Fail(u"the header does not match the file's encoding");
        header = true;
        continue;
      }
      if (line.front() == u';' || line.front() == u'#') continue;
      if (line.front() == u'[') {
        KeyLine(line);
      } else if (line.front() == u'"' || line.front() == u'@') {
        ValueLine(line, lines);
      } else {
        Fail(u"unexpected text");
      }
    }
    if (!header) {
      FLine = 1;
      Fail(u"empty file, no registry header");
    }
    return std::move(FKeys);
  }

 private:
  [[noreturn]] void Fail(rtl::StringView reason) {
    throw ERegistryFileError(
        rtl::Format(u"%s:%d: %s", {FFileName, static_cast<long long>(FLine), rtl::String(reason)}));
  }

  rtl::String Decode(std::string_view bytes) {
    switch (DetectEncoding(bytes)) {
      case TTextEncoding::Utf16LE:
        return DecodeUtf16(bytes.substr(2), false);
      case TTextEncoding::Utf16BE:
        FLine = 1;
        Fail(u"UTF-16 big endian is not a regedit encoding");
      case TTextEncoding::Utf8Bom:
        bytes.remove_prefix(3);
        break;
      default:
        break;
    }
    // The header line, in ASCII, tells REGEDIT4 (ANSI) from version 5 (UTF-8).
    std::size_t start = 0;
    while (start < bytes.size() &&
           (bytes[start] == ' ' || bytes[start] == '\t' || bytes[start] == '\r' || bytes[start] == '\n'))
      ++start;
    if (bytes.substr(start, kHeader4.size()) == "REGEDIT4") {
      FRegedit4 = true;
      return FAnsi ? FAnsi(bytes) : rtl::Utf8ToString(bytes);
    }
    if (!IsValidUtf8(bytes)) {
      // Name the first line that is not UTF-8.
      std::size_t lineStart = 0;
      FLine = 1;
      for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '\n') {
          if (!IsValidUtf8(bytes.substr(lineStart, i - lineStart))) break;
          ++FLine;
          lineStart = i + 1;
        }
      }
      Fail(u"the text is neither UTF-16 with a byte-order mark nor UTF-8");
    }
    return rtl::Utf8ToString(bytes);
  }

  void KeyLine(rtl::StringView line) {
    FKey = nullptr;
    FAnyKeyLine = true;
    if (line.size() >= 2 && line[1] == u'-') return;  // a deletion: its values are skipped too
    const std::size_t close = line.rfind(u']');
    if (close == rtl::StringView::npos || !TrimBlanks(line.substr(close + 1)).empty())
      Fail(u"a key line must end with \"]\"");
    const rtl::StringView path = line.substr(1, close - 1);
    const rtl::String normal = TRegStore::NormalKey(path);
    if (normal.empty()) Fail(rtl::Format(u"unknown root key in [%s]", {rtl::String(path)}));
    // The parents exist as well.
    for (std::size_t p = normal.find(u'\\'); p != rtl::String::npos; p = normal.find(u'\\', p + 1)) {
      auto& parent = FKeys[normal.substr(0, p)];
      if (parent.Path.empty()) parent.Path = rtl::String(path.substr(0, std::min(path.size(), p)));
    }
    TRegStoreKey& key = FKeys[normal];
    key.Path = rtl::String(path);
    FKey = &key;
  }

  // A quoted string starting at s[pos] == '"'; pos ends after the closing quote.
  rtl::String QuotedString(rtl::StringView s, std::size_t& pos) {
    rtl::String out;
    ++pos;
    while (pos < s.size()) {
      const char16_t c = s[pos++];
      if (c == u'"') return out;
      if (c == u'\\' && pos < s.size()) {
        const char16_t e = s[pos++];
        switch (e) {
          case u'\\':
            out.push_back(u'\\');
            break;
          case u'"':
            out.push_back(u'"');
            break;
          case u'n':
            out.push_back(u'\n');
            break;
          case u'r':
            out.push_back(u'\r');
            break;
          case u'0':
            out.push_back(u'\0');
            break;
          default:
            out.push_back(u'\\');
            out.push_back(e);
            break;
        }
        continue;
      }
      out.push_back(c);
    }
    Fail(u"a quoted string has no closing quote");
  }

  void ExpectEnd(rtl::StringView rest) {
    rest = TrimBlanks(rest);
    if (!rest.empty() && rest.front() != u';') Fail(u"unexpected text after the value");
  }

  // hex bytes from s (after "hex:" or "hex(N):"), continued over lines ending in '\'.
  std::vector<std::uint8_t> HexBytes(rtl::StringView s, const std::vector<rtl::StringView>& lines) {
    std::vector<std::uint8_t> bytes;
    bool expectByte = true;  // at the start or after a comma
    for (;;) {
      std::size_t i = 0;
      bool continued = false;
      while (i < s.size()) {
        const char16_t c = s[i];
        if (Blank(c)) {
          ++i;
        } else if (c == u'\\') {
          if (!TrimBlanks(s.substr(i + 1)).empty()) Fail(u"text after a line continuation");
          continued = true;
          break;
        } else if (c == u',') {
          if (expectByte) Fail(u"a comma without a byte before it");
          expectByte = true;
          ++i;
        } else if (c == u';' && !expectByte) {
          break;  // a comment after the last byte
        } else if (HexValue(c) >= 0) {
          if (!expectByte) Fail(u"hex bytes must be separated by commas");
          int v = HexValue(c);
          ++i;
          if (i < s.size() && HexValue(s[i]) >= 0) v = v * 16 + HexValue(s[i++]);
          bytes.push_back(static_cast<std::uint8_t>(v));
          expectByte = false;
        } else {
          Fail(u"not a hex byte");
        }
      }
      if (!continued) break;
      if (++FIndex >= lines.size()) Fail(u"the file ends inside a continued value");
      FLine = FIndex + 1;
      s = TrimBlanks(lines[FIndex]);
      if (s.empty()) Fail(u"a continued value ends in an empty line");
    }
    return bytes;
  }

  void ValueLine(rtl::StringView line, const std::vector<rtl::StringView>& lines) {
    std::size_t pos = 0;
    rtl::String name;
    if (line.front() == u'@') {
      pos = 1;
    } else {
      name = QuotedString(line, pos);
    }
    while (pos < line.size() && Blank(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != u'=') Fail(u"expected \"=\" after the value name");
    ++pos;
    while (pos < line.size() && Blank(line[pos])) ++pos;
    const rtl::StringView data = line.substr(pos);

    TRegValue value;
    bool remove = false;
    if (!data.empty() && data.front() == u'"') {
      std::size_t p = 0;
      const rtl::String text = QuotedString(data, p);
      ExpectEnd(data.substr(p));
      value.Type = static_cast<std::uint32_t>(TRegDataType::String);
      AppendUtf16(value.Data, text);
      AppendUtf16(value.Data, rtl::StringView(u"\0", 1));
    } else if (!data.empty() && data.front() == u'-') {
      ExpectEnd(data.substr(1));
      remove = true;
    } else if (StartsWithNoCase(data, u"dword:")) {
      rtl::StringView digits = data.substr(6);
      std::size_t n = 0;
      std::uint32_t v = 0;
      while (n < digits.size() && HexValue(digits[n]) >= 0) {
        if (n == 8) Fail(u"a dword has at most 8 hex digits");
        v = v * 16 + static_cast<std::uint32_t>(HexValue(digits[n++]));
      }
      if (n == 0) Fail(u"a dword needs hex digits");
      ExpectEnd(digits.substr(n));
      value.Type = static_cast<std::uint32_t>(TRegDataType::DWord);
      value.Data = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
                    static_cast<std::uint8_t>(v >> 24)};
    } else if (StartsWithNoCase(data, u"hex:")) {
      value.Type = static_cast<std::uint32_t>(TRegDataType::Binary);
      value.Data = HexBytes(data.substr(4), lines);
    } else if (StartsWithNoCase(data, u"hex(")) {
      std::size_t p = 4;
      std::uint64_t type = 0;
      while (p < data.size() && HexValue(data[p]) >= 0 && type <= 0xFFFFFFFFu)
        type = type * 16 + static_cast<std::uint64_t>(HexValue(data[p++]));
      if (p == 4 || type > 0xFFFFFFFFu || data.substr(p, 2) != u"):") Fail(u"expected hex(N): with a hex type number");
      value.Type = static_cast<std::uint32_t>(type);
      value.Data = HexBytes(data.substr(p + 2), lines);
      if (FRegedit4) value.Data = AnsiToUtf16(value.Type, value.Data);
    } else {
      Fail(u"unknown value type");
    }
    if (!FKey) {
      if (FAnyKeyLine) return;  // a value of a [-key] deletion
      Fail(u"a value outside a key");
    }
    const rtl::String upper = rtl::UpperCase(name);
    if (remove) {
      FKey->Values.erase(upper);
      FKey->Deleted.insert(upper);
    } else {
      FKey->Values[upper] = TRegStoreValue{name, std::move(value)};
      FKey->Deleted.erase(upper);
    }
  }

  // REGEDIT4 writes the string types' hex data in the ANSI code page.
  std::vector<std::uint8_t> AnsiToUtf16(std::uint32_t type, const std::vector<std::uint8_t>& bytes) {
    if (type != 1 && type != 2 && type != 7) return bytes;
    const std::string_view s(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::vector<std::uint8_t> out;
    AppendUtf16(out, FAnsi ? FAnsi(s) : rtl::Utf8ToString(s));
    return out;
  }

  rtl::String FFileName;
  const TAnsiDecoder& FAnsi;
  bool FRegedit4 = false;
  bool FAnyKeyLine = false;
  std::size_t FIndex = 0;
  std::size_t FLine = 0;
  std::map<rtl::String, TRegStoreKey> FKeys;
  TRegStoreKey* FKey = nullptr;
};

}  // namespace

rtl::String TRegStore::NormalKey(rtl::StringView fullPath) {
  while (!fullPath.empty() && fullPath.front() == u'\\') fullPath.remove_prefix(1);
  while (!fullPath.empty() && fullPath.back() == u'\\') fullPath.remove_suffix(1);
  const std::size_t slash = fullPath.find(u'\\');
  const rtl::String root = rtl::AsciiUpperCase(fullPath.substr(0, slash));
  for (const TRootName& r : kRoots) {
    if (root == r.Full || root == r.Short) {
      rtl::String out(r.Full);
      // Empty elements (a doubled backslash, one right after the root) name the same key as
      // without them, so that every key read can be found again.
      rtl::String rest;
      for (char16_t c : fullPath.substr(slash == rtl::StringView::npos ? fullPath.size() : slash + 1))
        if (c != u'\\' || (!rest.empty() && rest.back() != u'\\')) rest.push_back(c);
      if (!rest.empty()) {
        out += u'\\';
        out += rtl::UpperCase(rest);
      }
      return out;
    }
  }
  return {};
}

void TRegStore::Load(std::string_view bytes, rtl::StringView fileName, const TAnsiDecoder& ansi) {
  TParser parser(fileName, ansi);
  std::map<rtl::String, TRegStoreKey> keys = parser.Parse(bytes);
  for (auto& [name, key] : keys) {
    TRegStoreKey& target = FKeys[name];
    if (target.Path.empty()) target.Path = key.Path;
    for (const rtl::String& gone : key.Deleted) target.Values.erase(gone);
    for (auto& [valueName, value] : key.Values) target.Values[valueName] = std::move(value);
  }
}

const TRegStoreKey* TRegStore::FindKey(TRegRoot root, rtl::StringView path) const {
  // Callers pass key paths from the root with a leading backslash.
  while (!path.empty() && path.front() == u'\\') path.remove_prefix(1);
  rtl::String full = root == TRegRoot::LocalMachine ? u"HKEY_LOCAL_MACHINE\\" : u"HKEY_CURRENT_USER\\";
  full += path;
  const rtl::String normal = NormalKey(full);
  if (normal.empty()) return nullptr;
  constexpr std::u16string_view kSoftware = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\";
  if (normal.starts_with(kSoftware) && !(normal.substr(kSoftware.size()) + u"\\").starts_with(u"WOW6432NODE\\")) {
    rtl::String redirected(kSoftware);
    redirected += u"WOW6432NODE\\";
    redirected += rtl::StringView(normal).substr(kSoftware.size());
    if (auto it = FKeys.find(redirected); it != FKeys.end()) return &it->second;
  }
  auto it = FKeys.find(normal);
  return it == FKeys.end() ? nullptr : &it->second;
}

}  // namespace qor::platform::posix
