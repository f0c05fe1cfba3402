// One Error(Text, Args) delivered to 1, 4 and 16 appenders.
#include <benchmark/benchmark.h>

#include "framework/log/qor7420_intf_log.h"

namespace {

using namespace qor;

class TCountingAppender : public rtl::TInterfaced<ILogAppender> {
 public:
  void Append(TLogLevel, rtl::StringView Text, const rtl::TArgList& Args) override {
    FCount += Text.size() + Args.size();
  }
  void Flush() override {}
  void SetLogger(const rtl::IPtr<ILogger>&) override {}
  void Close() override {}
  std::size_t FCount = 0;
};

void BM_ErrorWithArgs(benchmark::State& state) {
  rtl::IPtr<ILogger> logger(rtl::Create<TLogger>());
  for (int i = 0; i < state.range(0); ++i) logger->Register(rtl::IPtr<ILogAppender>(rtl::Create<TCountingAppender>()));
  const rtl::TArgList args = {rtl::String(u"EConvertError"), rtl::String(u"'abc' is not a valid integer value")};
  for (auto _ : state) {
    logger->Error(u"%s: %s", args);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ErrorWithArgs)->Arg(1)->Arg(4)->Arg(16);

}  // namespace
