#pragma once
// Small recording preference engines: scalar, component, both, neither.
#include <map>
#include <string>
#include <vector>

#include "framework/preferences/qor7420_intf_pref.h"
#include "platform/fake/fake_platform.h"
#include "platform/platform.h"
#include "rtl/exceptions.h"

namespace qor::test {

using TCalls = std::vector<std::string>;

// The fake platform installed for a test's lifetime: the locale comes from it.
struct TFakePlatformScope {
  platform::fake::TFakePlatform Platform;
  platform::TScopedPlatform Scope{Platform};
};

// The state and the journal every kind of test engine shares.
struct TEngineCore {
  std::string Name;
  TCalls* Calls = nullptr;
  std::map<rtl::String, rtl::String> Values;
  std::vector<TPrefType> SavedTypes;
  bool Accept = true;       // SaveValue takes values
  bool RaiseFind = false;   // FindValue raises
  bool RaiseFlush = false;  // Flush raises

  void Note(const std::string& call) { Calls->push_back(Name + ":" + call); }
};

class TScalarEngine : public rtl::TInterfaced<IQorPreferenceScalarEngine> {
 public:
  TScalarEngine(std::string name, TCalls& calls) { Core.Name = std::move(name); Core.Calls = &calls; }

  void Reload() override { Core.Note("reload"); }
  void Flush() override {
    Core.Note("flush");
    if (Core.RaiseFlush) throw rtl::EWriteError(u"Stream write error");
  }
  bool FindValue(rtl::StringView Name, rtl::String& Value) override {
    Core.Note("find " + rtl::StringToUtf8(Name));
    if (Core.RaiseFind) throw rtl::EReadError(u"Stream read error");
    auto it = Core.Values.find(rtl::String(Name));
    if (it == Core.Values.end()) return false;
    Value = it->second;
    return true;
  }
  bool SaveValue(rtl::StringView Name, rtl::StringView Value, TPrefType APrefType) override {
    Core.Note("save " + rtl::StringToUtf8(Name));
    if (!Core.Accept) return false;
    Core.Values[rtl::String(Name)] = rtl::String(Value);
    Core.SavedTypes.push_back(APrefType);
    return true;
  }
  bool ValueExists(rtl::StringView Name) override {
    Core.Note("exists " + rtl::StringToUtf8(Name));
    return Core.Values.contains(rtl::String(Name));
  }
  void ExportValues(rtl::TStringList& AList) override {
    Core.Note("export");
    for (const auto& [name, value] : Core.Values) AList.Add(name + AList.NameValueSeparator() + value);
  }

  rtl::String Stored(rtl::StringView name) const {
    auto it = Core.Values.find(rtl::String(name));
    return it == Core.Values.end() ? u"<none>" : it->second;
  }

  TEngineCore Core;
};

class TComponentEngine : public rtl::TInterfaced<IQorPreferenceComponentEngine> {
 public:
  TComponentEngine(std::string name, TCalls& calls) { Core.Name = std::move(name); Core.Calls = &calls; }

  void Reload() override { Core.Note("reload"); }
  void Flush() override { Core.Note("flush"); }
  void LoadComponent(void* AComponent, std::span<const rtl::String> AStrings) override { Record("load", AComponent, AStrings); }
  void SaveComponent(void* AComponent, std::span<const rtl::String> AStrings) override { Record("savecomp", AComponent, AStrings); }
  void DeleteComponent(void*, std::span<const rtl::String>) override { Core.Note("delete"); }
  bool ComponentExists(void*, std::span<const rtl::String>) override {
    Core.Note("compexists");
    return false;
  }

  void* LastComponent = nullptr;
  std::vector<rtl::String> LastStrings;
  TEngineCore Core;

 private:
  void Record(const char* what, void* component, std::span<const rtl::String> strings) {
    Core.Note(what);
    LastComponent = component;
    LastStrings.assign(strings.begin(), strings.end());
  }
};

// Offers both engine kinds: the manager must treat it as a scalar engine only.
class TBothEngine : public rtl::TInterfacedExtend<TScalarEngine, IQorPreferenceComponentEngine> {
 public:
  TBothEngine(std::string name, TCalls& calls) : TInterfacedExtend(std::move(name), calls) {}
  void Reload() override { TScalarEngine::Reload(); }
  void Flush() override { TScalarEngine::Flush(); }
  void LoadComponent(void*, std::span<const rtl::String>) override { Core.Note("load"); }
  void SaveComponent(void*, std::span<const rtl::String>) override { Core.Note("savecomp"); }
  void DeleteComponent(void*, std::span<const rtl::String>) override { Core.Note("delete"); }
  bool ComponentExists(void*, std::span<const rtl::String>) override {
    Core.Note("compexists");
    return false;
  }
};

// Offers neither kind: only flushed.
class TPlainEngine : public rtl::TInterfaced<IQorPreferenceEngine> {
 public:
  TPlainEngine(std::string name, TCalls& calls) { Core.Name = std::move(name); Core.Calls = &calls; }
  void Reload() override { Core.Note("reload"); }
  void Flush() override { Core.Note("flush"); }
  TEngineCore Core;
};

template <class T>
rtl::IPtr<T> Make(std::string name, TCalls& calls) {
  return rtl::IPtr<T>(rtl::Create<T>(std::move(name), calls));
}

// The manager's view of a test engine.
template <class T>
rtl::IPtr<IQorPreferenceEngine> AsEngine(const rtl::IPtr<T>& engine) {
  return rtl::Supports<IQorPreferenceEngine>(engine);
}

}  // namespace qor::test
