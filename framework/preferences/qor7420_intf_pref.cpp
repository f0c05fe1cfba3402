#include "framework/preferences/qor7420_intf_pref.h"

#include "platform/platform.h"

namespace qor {

namespace {
// The system default locale's settings, the base the fixed fields are laid over.
rtl::TFormatSettings SystemDefaultLocaleSettings() {
  return platform::Platform().Locale().SystemDefaultFormatSettings();
}

void FillPrefFormatSettings() {
  rtl::TFormatSettings settings = SystemDefaultLocaleSettings();
  settings.DateSeparator = u'.';
  settings.TimeSeparator = u':';
  settings.ShortDateFormat = u"dd.MM.yyyy";
  settings.LongDateFormat = u"dd.MM.yyyy";
  settings.ShortTimeFormat = u"h:mm";
  settings.LongTimeFormat = u"h:mm:ss";
  settings.DecimalSeparator = u'.';
  settings.ThousandSeparator = u'\'';
  PrefFormatSettings() = std::move(settings);
}

void InitializeIntfPref() {
  FillPrefFormatSettings();
  PreferenceManager() = nullptr;
}

void FinalizeIntfPref() {
  PreferenceManager() = nullptr;
  PrefFormatSettings() = rtl::TFormatSettings{};
}
}  // namespace

rtl::IPtr<IQorPreferenceManager>& PreferenceManager() {
  static rtl::IPtr<IQorPreferenceManager> slot;
  return slot;
}

rtl::TFormatSettings& PrefFormatSettings() {
  static rtl::TFormatSettings settings;
  return settings;
}

const startup::TModule& IntfPrefModule() {
  static const startup::TModule module{u"qor7420_intf_pref", &InitializeIntfPref, &FinalizeIntfPref};
  return module;
}

}  // namespace qor
