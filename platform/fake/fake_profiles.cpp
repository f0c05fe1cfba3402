#include "platform/fake/fake_platform.h"
#include "platform/profile_parser.h"

namespace qor::platform::fake {

namespace {
TProfileData Load(TFakeFiles& files, TCodePageService& codePages, rtl::StringView file) {
  const std::optional<std::string> bytes = files.Contents(file);
  if (!bytes) return {};
  return ParseProfile(*bytes, [&](std::string_view s) { return codePages.AnsiToUnicode(s); });
}
}  // namespace

rtl::String TFakeProfiles::ReadString(rtl::StringView file, rtl::StringView section, rtl::StringView key,
                                      rtl::StringView def) {
  const TProfileData data = Load(FFiles, FCodePages, file);
  const rtl::String* value = data.FindValue(section, key);
  return value ? *value : rtl::String(def);
}

std::vector<rtl::String> TFakeProfiles::ReadSectionKeys(rtl::StringView file, rtl::StringView section) {
  const TProfileData data = Load(FFiles, FCodePages, file);
  return data.KeyNames(section);
}

std::vector<rtl::String> TFakeProfiles::ReadSectionNames(rtl::StringView file) {
  const TProfileData data = Load(FFiles, FCodePages, file);
  return data.SectionNames();
}

}  // namespace qor::platform::fake
