#pragma once
// The Windows profile-file rules, shared by the substitute and the fake: sections and
// keys compared case-insensitively, names and values trimmed, one pair of surrounding
// quotes removed from a value, the first of duplicate keys wins. The bytes are
// UTF-16LE after a BOM, UTF-8 after a BOM or when they are valid UTF-8, else ANSI.
#include <functional>
#include <string_view>
#include <vector>

#include "rtl/strings.h"

namespace qor::platform {

struct TProfileSection {
  rtl::String Name;
  std::vector<std::pair<rtl::String, rtl::String>> Entries;  // key, value in file order
};

struct TProfileData {
  std::vector<TProfileSection> Sections;  // duplicates merged into the first

  const TProfileSection* FindSection(rtl::StringView name) const;
  // nullptr when absent.
  const rtl::String* FindValue(rtl::StringView section, rtl::StringView key) const;
};

using TAnsiDecoder = std::function<rtl::String(std::string_view)>;

// Never fails: a line it does not understand is skipped, as Windows does.
TProfileData ParseProfile(std::string_view bytes, const TAnsiDecoder& ansi);

}  // namespace qor::platform
