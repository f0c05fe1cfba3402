#include "framework/startup/fixed_format_settings.h"

#include "platform/platform.h"

namespace qor {

std::optional<rtl::TFormatSettings>& FixedFormatSettings() {
  static std::optional<rtl::TFormatSettings> settings;
  return settings;
}

namespace {
void Initialization() {
  rtl::TFormatSettings s = platform::Platform().Locale().SystemDefaultFormatSettings();
  s.DateSeparator = u'.';
  s.TimeSeparator = u':';
  s.ShortDateFormat = u"dd.MM.yyyy";
  s.LongDateFormat = u"dd.MM.yyyy";
  s.ShortTimeFormat = u"h:mm";
  s.LongTimeFormat = u"hh:mm:ss.zzz";
  s.DecimalSeparator = u'.';
  s.ThousandSeparator = u'\'';
  FixedFormatSettings() = std::move(s);
}
void Finalization() { FixedFormatSettings().reset(); }
}  // namespace

const startup::TModule& FixedFormatSettingsModule() {
  static const startup::TModule module{u"fixed format settings", &Initialization, &Finalization};
  return module;
}

}  // namespace qor
