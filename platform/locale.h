#pragma once
// The locale settings the runtime's format settings are filled from.
#include <cstdint>

#include "rtl/format_settings.h"

namespace qor::platform {

inline constexpr std::uint32_t kLocaleSystemDefault = 0x0800;
inline constexpr std::uint32_t kLocaleUserDefault = 0x0400;

class TLocaleService {
 public:
  virtual ~TLocaleService() = default;
  // The user's locale (separators, date and time patterns in the runtime's
  // specifiers, currency, month and day names).
  virtual rtl::TFormatSettings UserFormatSettings() = 0;
  // The system's default locale (identifier 0x0800).
  virtual rtl::TFormatSettings SystemDefaultFormatSettings() = 0;
  // The locale identifier of the user's locale (0x0419 Russian, 0x0409 US English, ...).
  virtual std::uint32_t UserLocaleId() = 0;
};

}  // namespace qor::platform
