#include "framework/startup/runtime_locale.h"

#include "platform/platform.h"
#include "rtl/format_settings.h"

namespace qor {

namespace {
void Initialization() { rtl::FormatSettings() = platform::Platform().Locale().UserFormatSettings(); }
}  // namespace

const startup::TModule& RuntimeLocaleModule() {
  static const startup::TModule module{u"runtime locale", &Initialization, nullptr};
  return module;
}

}  // namespace qor
