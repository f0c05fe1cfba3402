#include "framework/startup/locale_defaults.h"

#include "rtl/format_settings.h"

namespace qor {

namespace {
void Initialization() {
  rtl::TFormatSettings& s = rtl::FormatSettings();
  s.CurrencyString = u"# ### ##0.00";
  s.DecimalSeparator = u',';
  s.DateSeparator = u'.';
  s.ShortDateFormat = u"dd.mm.yyyy";
  s.ShortTimeFormat = u"hh:mm:ss";
}
}  // namespace

const startup::TModule& LocaleDefaultsModule() {
  static const startup::TModule module{u"locale defaults", &Initialization, nullptr};
  return module;
}

}  // namespace qor
