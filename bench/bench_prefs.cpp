// FindStr and SaveStr routed through 1, 4 and 16 scalar engines. Only the oldest
// engine holds or takes the value, so every engine is asked.
#include <benchmark/benchmark.h>

#include <map>

#include "framework/preferences/qor7420_pref_core.h"

namespace {

using namespace qor;

class TBenchEngine : public rtl::TInterfaced<IQorPreferenceScalarEngine> {
 public:
  explicit TBenchEngine(bool holds) : FHolds(holds) {}
  void Reload() override {}
  void Flush() override {}
  bool FindValue(rtl::StringView Name, rtl::String& Value) override {
    if (!FHolds) return false;
    auto it = FValues.find(rtl::String(Name));
    if (it == FValues.end()) return false;
    Value = it->second;
    return true;
  }
  bool SaveValue(rtl::StringView Name, rtl::StringView Value, TPrefType) override {
    if (!FHolds) return false;
    FValues[rtl::String(Name)] = rtl::String(Value);
    return true;
  }
  bool ValueExists(rtl::StringView Name) override { return FHolds && FValues.contains(rtl::String(Name)); }
  void ExportValues(rtl::TStringList&) override {}

 private:
  bool FHolds;
  std::map<rtl::String, rtl::String> FValues;
};

rtl::IPtr<IQorPreferenceManager> MakeManager(int engines) {
  rtl::IPtr<IQorPreferenceManager> manager(rtl::Create<TQorPreferenceManager>());
  for (int i = 0; i < engines; ++i) {
    rtl::IPtr<IQorPreferenceEngine> engine(rtl::Create<TBenchEngine>(i == 0));
    manager->RegisterEngine(u"engine" + rtl::IntToStr(i), engine);
  }
  return manager;
}

void BM_FindStr(benchmark::State& state) {
  auto manager = MakeManager(static_cast<int>(state.range(0)));
  manager->SaveStr(u"prf_geo_broker_url", u"https://broker.example/geo", 8);
  for (auto _ : state) benchmark::DoNotOptimize(manager->FindStr(u"prf_geo_broker_url", u""));
}
BENCHMARK(BM_FindStr)->Arg(1)->Arg(4)->Arg(16);

void BM_SaveStr(benchmark::State& state) {
  auto manager = MakeManager(static_cast<int>(state.range(0)));
  for (auto _ : state) manager->SaveStr(u"prf_geo_broker_url", u"https://broker.example/geo", 8);
}
BENCHMARK(BM_SaveStr)->Arg(1)->Arg(4)->Arg(16);

}  // namespace
