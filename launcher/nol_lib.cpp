#include "launcher/nol_lib.h"

#include "platform/platform.h"
#include "rtl/format.h"

namespace qor {

namespace {
// An open key of the installed registry, closed on every path.
class TRegKeyReader {
 public:
  TRegKeyReader(platform::TRegRoot root, rtl::StringView key) : FRegistry(platform::Platform().Registry()) {
    FOpen = FRegistry.OpenKey(root, key, FKey);
  }
  ~TRegKeyReader() {
    if (FOpen) FRegistry.CloseKey(FKey);
  }
  TRegKeyReader(const TRegKeyReader&) = delete;
  TRegKeyReader& operator=(const TRegKeyReader&) = delete;

  bool Open() const { return FOpen; }
  bool Query(rtl::StringView name, platform::TRegValue& value) { return FRegistry.QueryValue(FKey, name, value); }

 private:
  platform::TRegistryService& FRegistry;
  platform::THandle FKey = platform::kNoHandle;
  bool FOpen = false;
};
}  // namespace

bool RegValueExists(rtl::StringView Name, platform::TRegRoot Root, rtl::StringView Key) {
  TRegKeyReader key(Root, Key);
  platform::TRegValue value;
  return key.Open() && key.Query(Name, value);
}

rtl::String RegReadString(rtl::StringView Name, rtl::StringView Default, platform::TRegRoot Root,
                          rtl::StringView Key) {
  rtl::String result(Default);
  TRegKeyReader key(Root, Key);
  platform::TRegValue value;
  if (!key.Open() || !key.Query(Name, value)) return result;
  if (value.Data.empty()) return rtl::String();
  using platform::TRegDataType;
  if (value.Type != static_cast<std::uint32_t>(TRegDataType::String) &&
      value.Type != static_cast<std::uint32_t>(TRegDataType::ExpandString))
    throw rtl::ERegistryException(rtl::Format(u"Invalid data type for '%s'", {rtl::String(Name)}));
  // UTF-16LE units within the returned size, up to the first NUL; an odd last byte
  // is not a character.
  result.clear();
  for (std::size_t i = 0; i + 1 < value.Data.size(); i += 2) {
    const char16_t c = static_cast<char16_t>(value.Data[i] | (value.Data[i + 1] << 8));
    if (c == 0) break;
    result.push_back(c);
  }
  return result;
}

}  // namespace qor
