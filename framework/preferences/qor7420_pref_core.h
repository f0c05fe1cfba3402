#pragma once
// The preference manager: routes typed preferences, as text, to the registered
// storage engines, the most recently registered first.
#include <vector>

#include "framework/preferences/qor7420_intf_pref.h"

namespace qor {

class TQorPreferenceManager : public rtl::TInterfaced<IQorPreferenceManager> {
 public:
  std::int64_t FindInt(rtl::StringView Name, std::int64_t ADefaut) override;
  rtl::String FindStr(rtl::StringView Name, rtl::StringView ADefaut) override;
  // Returns ADefaut on any error, the engines' included.
  rtl::Extended FindDouble(rtl::StringView Name, rtl::Extended ADefaut) override;
  bool FindBool(rtl::StringView Name, bool ADefaut) override;
  rtl::TDate FindDate(rtl::StringView Name, rtl::TDate ADefaut) override;
  rtl::TDateTime FindDateTime(rtl::StringView Name, rtl::TDateTime ADefaut) override;
  void SaveInt(rtl::StringView Name, std::int64_t AValue, TPrefType APrefType) override;
  void SaveStr(rtl::StringView Name, rtl::StringView AValue, TPrefType APrefType) override;
  void SaveDouble(rtl::StringView Name, rtl::Extended AValue, TPrefType APrefType) override;
  void SaveBool(rtl::StringView Name, bool AValue, TPrefType APrefType) override;
  void SaveDate(rtl::StringView Name, rtl::TDate AValue, TPrefType APrefType) override;
  void SaveDateTime(rtl::StringView Name, rtl::TDateTime AValue, TPrefType APrefType) override;
  void LoadComponent(void* AComponent, std::span<const rtl::String> AStrings) override;
  void SaveComponent(void* AComponent, std::span<const rtl::String> AStrings) override;
  bool Exists(rtl::StringView Name) override;
  // A name already registered fails the assertion; an empty Engine raises EInvalidOperation.
  void RegisterEngine(rtl::StringView AName, const rtl::IPtr<IQorPreferenceEngine>& Engine) override;
  // Flushes first: an engine whose Flush raises stays registered.
  void UnRegisterEngine(rtl::StringView AName) override;
  void Flush() override;
  void Export(rtl::TStringList& AList) override;
  TPrefTypeDict& PrefTypeDict() override { return FPrefTypeDict; }

  // Lets the engines go without flushing them.
  void BeforeDestruction() override;

 private:
  rtl::String Lookup(rtl::StringView Name, rtl::StringView ADefaut);
  void Store(rtl::StringView Name, rtl::StringView AText, TPrefType APrefType);

  TPrefTypeDict FPrefTypeDict;
  rtl::TDictionary<rtl::IPtr<IQorPreferenceEngine>> FEngineNames;
  std::vector<rtl::IPtr<IQorPreferenceScalarEngine>> FScalarEngines;  // newest first
  std::vector<rtl::IPtr<IQorPreferenceComponentEngine>> FCompEngines;  // newest first, not scalar
};

// Start-up creates the process's manager in PreferenceManager; shut-down empties the slot.
const startup::TModule& PrefCoreModule();

}  // namespace qor
