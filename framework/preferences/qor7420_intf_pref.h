#pragma once
// The contracts of the preference subsystem: the manager, the storage engines,
// the type codes, the manager's slot and the settings of the text conversions.
#include <cstdint>
#include <span>

#include "framework/startup/module_runner.h"
#include "rtl/classes.h"
#include "rtl/datetime.h"
#include "rtl/format.h"
#include "rtl/format_settings.h"
#include "rtl/interfaces.h"
#include "rtl/strings.h"

namespace qor {

// Carried by every save and handed to the engine unchanged.
using TPrefType = std::uint16_t;
// Preference name (exact text) to its type code.
using TPrefTypeDict = rtl::TDictionary<TPrefType>;

class IQorPreferenceEngine;

class IQorPreferenceManager : public rtl::IInterface {
 public:
  static constexpr rtl::TGUID IID = rtl::GUID("{6904CFC9-D814-46A6-9694-39634585DCBD}");
  using Parent = rtl::IInterface;

  virtual std::int64_t FindInt(rtl::StringView Name, std::int64_t ADefaut) = 0;
  virtual rtl::String FindStr(rtl::StringView Name, rtl::StringView ADefaut) = 0;
  virtual rtl::Extended FindDouble(rtl::StringView Name, rtl::Extended ADefaut) = 0;
  virtual bool FindBool(rtl::StringView Name, bool ADefaut) = 0;
  virtual rtl::TDate FindDate(rtl::StringView Name, rtl::TDate ADefaut) = 0;
  virtual rtl::TDateTime FindDateTime(rtl::StringView Name, rtl::TDateTime ADefaut) = 0;
  virtual void SaveInt(rtl::StringView Name, std::int64_t AValue, TPrefType APrefType) = 0;
  virtual void SaveStr(rtl::StringView Name, rtl::StringView AValue, TPrefType APrefType) = 0;
  virtual void SaveDouble(rtl::StringView Name, rtl::Extended AValue, TPrefType APrefType) = 0;
  virtual void SaveBool(rtl::StringView Name, bool AValue, TPrefType APrefType) = 0;
  virtual void SaveDate(rtl::StringView Name, rtl::TDate AValue, TPrefType APrefType) = 0;
  virtual void SaveDateTime(rtl::StringView Name, rtl::TDateTime AValue, TPrefType APrefType) = 0;
  virtual void LoadComponent(void* AComponent, std::span<const rtl::String> AStrings) = 0;
  virtual void SaveComponent(void* AComponent, std::span<const rtl::String> AStrings) = 0;
  virtual bool Exists(rtl::StringView Name) = 0;
  virtual void RegisterEngine(rtl::StringView AName, const rtl::IPtr<IQorPreferenceEngine>& Engine) = 0;
  virtual void UnRegisterEngine(rtl::StringView AName) = 0;
  virtual void Flush() = 0;
  virtual void Export(rtl::TStringList& AList) = 0;
  // The manager's own dictionary, not a copy; it lives as long as the manager.
  virtual TPrefTypeDict& PrefTypeDict() = 0;

 protected:
  ~IQorPreferenceManager() = default;
};

class IQorPreferenceEngine : public rtl::IInterface {
 public:
  static constexpr rtl::TGUID IID = rtl::GUID("{29AB805C-8057-4124-BEF3-25A26740C656}");
  using Parent = rtl::IInterface;

  // Drops pending changes and reads the store again. The manager never calls it.
  virtual void Reload() = 0;
  // Writes all pending changes to the store.
  virtual void Flush() = 0;

 protected:
  ~IQorPreferenceEngine() = default;
};

class IQorPreferenceScalarEngine : public IQorPreferenceEngine {
 public:
  static constexpr rtl::TGUID IID = rtl::GUID("{2F74132D-CC14-411D-8822-60C8A9E713D4}");
  using Parent = IQorPreferenceEngine;

  // True when the engine holds Name; Value is then its stored text.
  virtual bool FindValue(rtl::StringView Name, rtl::String& Value) = 0;
  // True when the engine has taken the value; false declines it.
  virtual bool SaveValue(rtl::StringView Name, rtl::StringView Value, TPrefType APrefType) = 0;
  virtual bool ValueExists(rtl::StringView Name) = 0;
  // Appends name, the list's name-value separator and the value, one line per value.
  virtual void ExportValues(rtl::TStringList& AList) = 0;

 protected:
  ~IQorPreferenceScalarEngine() = default;
};

class IQorPreferenceComponentEngine : public IQorPreferenceEngine {
 public:
  static constexpr rtl::TGUID IID = rtl::GUID("{6F69387D-7ECB-4C96-A112-36A42617F9C2}");
  using Parent = IQorPreferenceEngine;

  virtual void LoadComponent(void* AComponent, std::span<const rtl::String> AStrings) = 0;
  virtual void SaveComponent(void* AComponent, std::span<const rtl::String> AStrings) = 0;
  // Forgets the component's saved state. The manager never calls it.
  virtual void DeleteComponent(void* AComponent, std::span<const rtl::String> AStrings) = 0;
  // Whether a saved state exists for the component. The manager never calls it.
  virtual bool ComponentExists(void* AComponent, std::span<const rtl::String> AStrings) = 0;

 protected:
  ~IQorPreferenceComponentEngine() = default;
};

// The process's preference manager; valid from the core unit's start-up to its shut-down.
rtl::IPtr<IQorPreferenceManager>& PreferenceManager();

// The settings of every preference conversion, filled at the unit's start-up.
rtl::TFormatSettings& PrefFormatSettings();

// Start-up fills PrefFormatSettings; shut-down empties the slot and releases the settings.
const startup::TModule& IntfPrefModule();

}  // namespace qor
