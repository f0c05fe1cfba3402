#include "platform/profile_parser.h"

namespace qor::platform {

const TProfileSection* TProfileData::FindSection(rtl::StringView) const { return nullptr; }
const rtl::String* TProfileData::FindValue(rtl::StringView, rtl::StringView) const { return nullptr; }
TProfileData ParseProfile(std::string_view, const TAnsiDecoder&) { return {}; }

}  // namespace qor::platform
