#pragma once
// Initialisation files read with the Windows profile rules (GetPrivateProfileString
// family): sections and keys case-insensitive, values trimmed, one pair of
// surrounding quotes removed; a missing file reads as empty.
#include <vector>

#include "rtl/strings.h"

namespace qor::platform {

class TProfileService {
 public:
  virtual ~TProfileService() = default;
  // The value of key in section, or def when either is absent.
  virtual rtl::String ReadString(rtl::StringView file, rtl::StringView section, rtl::StringView key,
                                 rtl::StringView def) = 0;
  // The key names of a section in file order (empty when absent).
  virtual std::vector<rtl::String> ReadSectionKeys(rtl::StringView file, rtl::StringView section) = 0;
  // The section names in file order.
  virtual std::vector<rtl::String> ReadSectionNames(rtl::StringView file) = 0;
};

}  // namespace qor::platform
