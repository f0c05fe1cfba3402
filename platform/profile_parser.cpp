#include "platform/profile_parser.h"

#include "platform/text_decode.h"

namespace qor::platform {

namespace {
bool Blank(char16_t c) { return c == u' ' || c == u'\t'; }

rtl::StringView TrimBlanks(rtl::StringView s) {
  while (!s.empty() && Blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && Blank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(rtl::StringView a, rtl::StringView b) {
  return a.size() == b.size() && rtl::UpperCase(a) == rtl::UpperCase(b);
}

rtl::String Decode(std::string_view bytes, const TAnsiDecoder& ansi) {
  switch (DetectEncoding(bytes)) {
    case TTextEncoding::Utf16LE: return DecodeUtf16(bytes.substr(2), false);
    case TTextEncoding::Utf16BE: return DecodeUtf16(bytes.substr(2), true);
    case TTextEncoding::Utf8Bom: return rtl::Utf8ToString(bytes.substr(3));
    case TTextEncoding::Utf8: return rtl::Utf8ToString(bytes);
    case TTextEncoding::Other: break;
  }
  return ansi ? ansi(bytes) : rtl::Utf8ToString(bytes);
}
}  // namespace

const TProfileSection* TProfileData::FindSection(rtl::StringView name) const {
  const rtl::StringView wanted = TrimBlanks(name);
  for (const TProfileSection& s : Sections)
    if (SameName(s.Name, wanted)) return &s;
  return nullptr;
}

const rtl::String* TProfileData::FindValue(rtl::StringView section, rtl::StringView key) const {
  const TProfileSection* s = FindSection(section);
  if (!s) return nullptr;
  const rtl::StringView wanted = TrimBlanks(key);
  for (const auto& [k, v] : s->Entries)
    if (SameName(k, wanted)) return &v;
  return nullptr;
}

std::vector<rtl::String> TProfileData::SectionNames() const {
  std::vector<rtl::String> names;
  for (const TProfileSection& s : Sections)
    if (!s.Name.empty()) names.push_back(s.Name);
  return names;
}

std::vector<rtl::String> TProfileData::KeyNames(rtl::StringView section) const {
  std::vector<rtl::String> keys;
  if (const TProfileSection* s = FindSection(section))
    for (const auto& [k, v] : s->Entries)
      if (!k.empty() && k.front() != u';') keys.push_back(k);
  return keys;
}

TProfileData ParseProfile(std::string_view bytes, const TAnsiDecoder& ansi) {
  const rtl::String text = Decode(bytes, ansi);
  TProfileData data;
  data.Sections.push_back({});  // the lines before the first section
  std::size_t current = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of(u"\r\n", pos);
    if (end == rtl::String::npos) end = text.size();
    const rtl::StringView line = TrimBlanks(rtl::StringView(text).substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == u'\r') ++pos;
    if (pos < text.size() && text[pos] == u'\n') ++pos;

    if (line.empty()) continue;
    if (line.front() == u'[') {
      const std::size_t close = line.rfind(u']');
      const rtl::StringView name =
          TrimBlanks(close == rtl::StringView::npos ? line.substr(1) : line.substr(1, close - 1));
      data.Sections.push_back({rtl::String(name), {}});
      current = data.Sections.size() - 1;
      continue;
    }
    const std::size_t eq = line.find(u'=');
    if (eq == rtl::StringView::npos) continue;
    const rtl::StringView key = TrimBlanks(line.substr(0, eq));
    rtl::StringView value = TrimBlanks(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    data.Sections[current].Entries.emplace_back(rtl::String(key), rtl::String(value));
  }
  return data;
}

}  // namespace qor::platform
