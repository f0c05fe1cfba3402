#pragma once
// The Windows profile-file rules, shared by the substitute and the fake: sections and
// keys compared case-insensitively, names and values trimmed, one pair of matching
// surrounding quotes removed from a value. Of duplicate sections and keys the first is
// found; lines without '=' hold no key; lines before the first section belong to the
// section named "". Listings keep duplicates and skip keys beginning with ';'. The
// bytes are UTF-16LE after a BOM, UTF-8 after a BOM or when they are valid UTF-8,
// else ANSI.
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
  std::vector<TProfileSection> Sections;  // in file order, duplicates included

  // The first section of that name; nullptr when absent.
  const TProfileSection* FindSection(rtl::StringView name) const;
  // The first key of that name in that section; nullptr when absent.
  const rtl::String* FindValue(rtl::StringView section, rtl::StringView key) const;
  // The section names, and the key names of the first section of a name, as the
  // system lists them.
  std::vector<rtl::String> SectionNames() const;
  std::vector<rtl::String> KeyNames(rtl::StringView section) const;
};

using TAnsiDecoder = std::function<rtl::String(std::string_view)>;

// Never fails: a line it does not understand is skipped, as Windows does.
TProfileData ParseProfile(std::string_view bytes, const TAnsiDecoder& ansi);

}  // namespace qor::platform
