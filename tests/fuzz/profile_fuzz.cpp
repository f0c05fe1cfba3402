// libFuzzer target: the profile-file reader accepts any bytes and answers lookups.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "latin1_decoder.h"
#include "platform/profile_parser.h"

using namespace qor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const platform::TAnsiDecoder& latin1 = Latin1Decoder();
  const platform::TProfileData profile = platform::ParseProfile(bytes, latin1);
  for (const rtl::String& section : profile.SectionNames()) {
    if (!profile.FindSection(section)) std::abort();
    for (const rtl::String& key : profile.KeyNames(section))
      if (!profile.FindValue(section, key)) std::abort();
  }
  profile.FindValue(u"Main", u"LogFile");
  profile.FindValue(u"", u"");
  return 0;
}
