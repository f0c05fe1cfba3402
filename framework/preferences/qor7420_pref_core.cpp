#include "framework/preferences/qor7420_pref_core.h"

#include <limits>

#include "rtl/convert.h"
#include "rtl/exceptions.h"

namespace qor {

namespace {

// The texts engines store, written and read with PrefFormatSettings.
rtl::String IntText(std::int64_t value) { return rtl::IntToStr(value); }
std::int64_t TextInt(rtl::StringView text) { return rtl::StrToInt64(text); }

rtl::String BoolText(bool value) { return value ? u"-1" : u"0"; }
bool TextBool(rtl::StringView text) { return rtl::StrToBool(text); }

rtl::String FloatText(rtl::Extended value) { return rtl::FloatToStr(value, PrefFormatSettings()); }
rtl::Extended TextFloat(rtl::StringView text) {
  // FloatText writes these for the non-finite values; StrToFloat takes none of them.
  constexpr rtl::Extended inf = std::numeric_limits<rtl::Extended>::infinity();
  if (rtl::SameTextAscii(text, u"INF")) return inf;
  if (rtl::SameTextAscii(text, u"-INF")) return -inf;
  if (rtl::SameTextAscii(text, u"NAN")) return std::numeric_limits<rtl::Extended>::quiet_NaN();
  const rtl::TFormatSettings& settings = PrefFormatSettings();
  // Text written under another locale: the other of ',' and '.' stands for the
  // decimal separator, at its first occurrence only.
  const char16_t other = settings.DecimalSeparator == u'.' ? u',' : u'.';
  rtl::String value(text);
  if (auto pos = value.find(other); pos != rtl::String::npos) value[pos] = settings.DecimalSeparator;
  return rtl::StrToFloat(value, settings);
}

rtl::String DateText(rtl::TDate value) {
  const rtl::TFormatSettings& settings = PrefFormatSettings();
  return rtl::FormatDateTime(settings.ShortDateFormat, value, settings);
}
rtl::TDate TextDate(rtl::StringView text) { return rtl::StrToDate(text, PrefFormatSettings()); }

rtl::String DateTimeText(rtl::TDateTime value) {
  const rtl::TFormatSettings& settings = PrefFormatSettings();
  rtl::String text = rtl::FormatDateTime(settings.ShortDateFormat, value, settings);
  const rtl::TTimeParts time = rtl::DecodeTime(value);
  if (time.Hour != 0 || time.Minute != 0 || time.Second != 0 || time.MSec != 0) {
    text += u' ';
    text += rtl::FormatDateTime(settings.LongTimeFormat, value, settings);
  }
  return text;
}
rtl::TDateTime TextDateTime(rtl::StringView text) { return rtl::StrToDateTime(text, PrefFormatSettings()); }

// Removes the first entry that is the same object as engine.
template <class I>
void RemoveEngine(std::vector<rtl::IPtr<I>>& list, const rtl::IPtr<I>& engine) {
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (rtl::SameObject(*it, engine)) {
      list.erase(it);
      return;
    }
  }
}

}  // namespace

rtl::String TQorPreferenceManager::Lookup(rtl::StringView Name, rtl::StringView ADefaut) {
  // By index with a held reference: an engine may change the registry while it answers.
  for (std::size_t i = 0; i < FScalarEngines.size(); ++i) {
    rtl::IPtr<IQorPreferenceScalarEngine> engine = FScalarEngines[i];
    rtl::String value;
    if (engine->FindValue(Name, value)) return value;
  }
  return rtl::String(ADefaut);
}

void TQorPreferenceManager::Store(rtl::StringView Name, rtl::StringView AText, TPrefType APrefType) {
  for (std::size_t i = 0; i < FScalarEngines.size(); ++i) {
    rtl::IPtr<IQorPreferenceScalarEngine> engine = FScalarEngines[i];
    if (engine->SaveValue(Name, AText, APrefType)) return;
  }
}

std::int64_t TQorPreferenceManager::FindInt(rtl::StringView Name, std::int64_t ADefaut) {
  return TextInt(Lookup(Name, IntText(ADefaut)));
}

rtl::String TQorPreferenceManager::FindStr(rtl::StringView Name, rtl::StringView ADefaut) {
  return Lookup(Name, ADefaut);
}

rtl::Extended TQorPreferenceManager::FindDouble(rtl::StringView Name, rtl::Extended ADefaut) {
  try {
    return TextFloat(Lookup(Name, FloatText(ADefaut)));
  } catch (...) {
    return ADefaut;
  }
}

bool TQorPreferenceManager::FindBool(rtl::StringView Name, bool ADefaut) {
  return TextBool(Lookup(Name, BoolText(ADefaut)));
}

rtl::TDate TQorPreferenceManager::FindDate(rtl::StringView Name, rtl::TDate ADefaut) {
  return TextDate(Lookup(Name, DateText(ADefaut)));
}

rtl::TDateTime TQorPreferenceManager::FindDateTime(rtl::StringView Name, rtl::TDateTime ADefaut) {
  return TextDateTime(Lookup(Name, DateTimeText(ADefaut)));
}

void TQorPreferenceManager::SaveInt(rtl::StringView Name, std::int64_t AValue, TPrefType APrefType) {
  Store(Name, IntText(AValue), APrefType);
}

void TQorPreferenceManager::SaveStr(rtl::StringView Name, rtl::StringView AValue, TPrefType APrefType) {
  Store(Name, AValue, APrefType);
}

void TQorPreferenceManager::SaveDouble(rtl::StringView Name, rtl::Extended AValue, TPrefType APrefType) {
  Store(Name, FloatText(AValue), APrefType);
}

void TQorPreferenceManager::SaveBool(rtl::StringView Name, bool AValue, TPrefType APrefType) {
  Store(Name, BoolText(AValue), APrefType);
}

void TQorPreferenceManager::SaveDate(rtl::StringView Name, rtl::TDate AValue, TPrefType APrefType) {
  Store(Name, DateText(AValue), APrefType);
}

void TQorPreferenceManager::SaveDateTime(rtl::StringView Name, rtl::TDateTime AValue, TPrefType APrefType) {
  Store(Name, DateTimeText(AValue), APrefType);
}

void TQorPreferenceManager::LoadComponent(void* AComponent, std::span<const rtl::String> AStrings) {
  if (FCompEngines.empty()) return;
  rtl::IPtr<IQorPreferenceComponentEngine> engine = FCompEngines.front();
  engine->LoadComponent(AComponent, AStrings);
}

void TQorPreferenceManager::SaveComponent(void* AComponent, std::span<const rtl::String> AStrings) {
  if (FCompEngines.empty()) return;
  rtl::IPtr<IQorPreferenceComponentEngine> engine = FCompEngines.front();
  engine->SaveComponent(AComponent, AStrings);
}

bool TQorPreferenceManager::Exists(rtl::StringView Name) {
  for (std::size_t i = 0; i < FScalarEngines.size(); ++i) {
    rtl::IPtr<IQorPreferenceScalarEngine> engine = FScalarEngines[i];
    if (engine->ValueExists(Name)) return true;
  }
  return false;
}

void TQorPreferenceManager::RegisterEngine(rtl::StringView AName, const rtl::IPtr<IQorPreferenceEngine>& Engine) {
  const rtl::String name(AName);
  if (FEngineNames.ContainsKey(name)) rtl::AssertionFailed(u"Assertion failure", u"src\\qor7420_pref_core", 243);
  if (!Engine) throw rtl::EInvalidOperation(u"Cannot register an empty preference engine");
  // Asked before anything is added, so a failing query leaves the registry as it was.
  rtl::IPtr<IQorPreferenceScalarEngine> scalar = rtl::Supports<IQorPreferenceScalarEngine>(Engine);
  rtl::IPtr<IQorPreferenceComponentEngine> component;
  if (!scalar) component = rtl::Supports<IQorPreferenceComponentEngine>(Engine);

  FEngineNames.Add(name, Engine);
  if (scalar)
    FScalarEngines.insert(FScalarEngines.begin(), std::move(scalar));
  else if (component)
    FCompEngines.insert(FCompEngines.begin(), std::move(component));
}

void TQorPreferenceManager::UnRegisterEngine(rtl::StringView AName) {
  const rtl::String name(AName);
  rtl::IPtr<IQorPreferenceEngine> engine;
  if (!FEngineNames.TryGetValue(name, engine)) return;
  engine->Flush();
  FEngineNames.Remove(name);
  if (auto scalar = rtl::Supports<IQorPreferenceScalarEngine>(engine))
    RemoveEngine(FScalarEngines, scalar);
  else if (auto component = rtl::Supports<IQorPreferenceComponentEngine>(engine))
    RemoveEngine(FCompEngines, component);
}

void TQorPreferenceManager::Flush() {
  // A snapshot: an engine's Flush may unregister engines, which would invalidate
  // an iteration over the dictionary itself.
  std::vector<rtl::IPtr<IQorPreferenceEngine>> engines;
  engines.reserve(static_cast<std::size_t>(FEngineNames.Count()));
  for (const auto& entry : FEngineNames) engines.push_back(entry.second);
  for (const auto& engine : engines) engine->Flush();
}

void TQorPreferenceManager::Export(rtl::TStringList& AList) {
  for (std::size_t i = 0; i < FScalarEngines.size(); ++i) {
    rtl::IPtr<IQorPreferenceScalarEngine> engine = FScalarEngines[i];
    engine->ExportValues(AList);
  }
  const int count = AList.Count();
  const char16_t separator = AList.NameValueSeparator();
  for (int i = 0; i < count && i < AList.Count(); ++i) {
    // A line without a separator names nothing; giving it a value would overwrite its text.
    if (AList[i].find(separator) == rtl::String::npos) continue;
    const rtl::String value = Lookup(AList.Names(i), u"");
    if (!rtl::Trim(value).empty()) AList.SetValueFromIndex(i, value);
  }
}

void TQorPreferenceManager::BeforeDestruction() {
  FEngineNames.Clear();
  FScalarEngines.clear();
  FCompEngines.clear();
  FPrefTypeDict.Clear();
}

namespace {
void CreateManager() {
  PreferenceManager() = rtl::IPtr<IQorPreferenceManager>(rtl::Create<TQorPreferenceManager>());
}
void ReleaseManager() { PreferenceManager() = nullptr; }
}  // namespace

const startup::TModule& PrefCoreModule() {
  static const startup::TModule module{u"qor7420_pref_core", &CreateManager, &ReleaseManager};
  return module;
}

}  // namespace qor
