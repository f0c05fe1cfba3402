#include "framework/startup/module_runner.h"

#include <cstdio>
#include <cstdlib>

#include "rtl/exceptions.h"

namespace qor::startup {

namespace {
struct RunningProgram {
  TModuleRunner* Runner = nullptr;
  TStartupUI UI;
  std::function<void(int)> HaltHook;
};
RunningProgram& Running() {
  static RunningProgram running;
  return running;
}
}  // namespace

const TStartupUI& StartupUI() { return Running().UI; }

TModuleRunner::~TModuleRunner() { Finalize(); }

void TModuleRunner::Initialize() {
  for (const TModule& module : FModules) {
    ++FStarted;  // a failing step counts as started
    if (!module.Initialization) continue;
    try {
      module.Initialization();
    } catch (...) {
      Finalize();
      throw;
    }
  }
}

void TModuleRunner::Finalize() noexcept {
  while (FStarted > 0) {
    const TModule& module = FModules[static_cast<std::size_t>(--FStarted)];
    if (!module.Finalization) continue;
    try {
      module.Finalization();
    } catch (...) {
      // A finalisation that raises must not keep the others from running.
    }
  }
}

int RunProgram(TModuleTable modules, const TStartupUI& ui, const std::function<int()>& entry) {
  TModuleRunner runner(std::move(modules));
  Running().Runner = &runner;
  Running().UI = ui;
  struct Reset {
    ~Reset() {
      Running().Runner = nullptr;
      Running().UI = {};
    }
  } reset;
  try {
    runner.Initialize();
  } catch (const rtl::Exception& e) {
    if (ui.ShowStartupFailure) ui.ShowStartupFailure(e.Message());
    return 1;
  } catch (const std::exception& e) {
    if (ui.ShowStartupFailure) ui.ShowStartupFailure(rtl::Utf8ToString(e.what()));
    return 1;
  }
  int code = entry();
  runner.Finalize();
  return code;
}

void SetHaltHook(std::function<void(int)> hook) { Running().HaltHook = std::move(hook); }

void Halt(int code) {
  if (TModuleRunner* runner = Running().Runner) runner->Finalize();
  if (Running().HaltHook) Running().HaltHook(code);
  std::fflush(nullptr);
  std::exit(code);
}

}  // namespace qor::startup
