// Initialisation files read with the shared profile rules.
#include "platform/posix/posix_services.h"
#include "platform/posix/posix_util.h"

namespace qor::platform::posix {

namespace {
TProfileData LoadProfile(TCodePageService& codePages, rtl::StringView file) {
  const std::optional<std::string> bytes = ReadWholeFile(FsPath(file));
  if (!bytes) return {};
  return ParseProfile(*bytes, [&codePages](std::string_view s) { return codePages.AnsiToUnicode(s); });
}
}  // namespace

rtl::String TPosixProfiles::ReadString(rtl::StringView file, rtl::StringView section, rtl::StringView key,
                                       rtl::StringView def) {
  const TProfileData data = LoadProfile(FCodePages, file);
  const rtl::String* value = data.FindValue(section, key);
  return value ? *value : rtl::String(def);
}

std::vector<rtl::String> TPosixProfiles::ReadSectionKeys(rtl::StringView file, rtl::StringView section) {
  const TProfileData data = LoadProfile(FCodePages, file);
  return data.KeyNames(section);
}

std::vector<rtl::String> TPosixProfiles::ReadSectionNames(rtl::StringView file) {
  const TProfileData data = LoadProfile(FCodePages, file);
  return data.SectionNames();
}

}  // namespace qor::platform::posix
