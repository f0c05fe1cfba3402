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
  bool Halting = false;
};
RunningProgram& Running() {
  static RunningProgram running;
  return running;
}

// Inside a catch block: the message of the exception in flight.
void ShowStartupFailure(const TStartupUI& ui) noexcept {
  try {
    if (ui.ShowStartupFailure) ui.ShowStartupFailure(rtl::CurrentException()->Message());
  } catch (...) {
  }
}

// Inside a catch block: the exception in flight, reported through the program's
// calls; the report itself must not end the program.
void ReportException(const TStartupUI& ui) noexcept {
  try {
    const std::unique_ptr<rtl::Exception> e = rtl::CurrentException();
    if (ui.ShowException)
      ui.ShowException(*e);
    else if (ui.ShowStartupFailure)
      ui.ShowStartupFailure(rtl::String(e->ClassName()) + u": " + e->Message());
  } catch (...) {
  }
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
  Running().Halting = false;
  struct Reset {
    ~Reset() {
      Running().Runner = nullptr;
      Running().UI = {};
      Running().Halting = false;
    }
  } reset;
  // What a test's halt hook throws is the end of the program, not a failure.
  try {
    runner.Initialize();
  } catch (...) {
    if (Running().Halting) throw;
    ShowStartupFailure(ui);
    return 1;
  }
  int code = 1;
  try {
    code = entry();
  } catch (...) {
    if (Running().Halting) throw;
    ReportException(ui);
  }
  runner.Finalize();
  return code;
}

void SetHaltHook(std::function<void(int)> hook) { Running().HaltHook = std::move(hook); }

void Halt(int code) {
  Running().Halting = true;
  if (TModuleRunner* runner = Running().Runner) runner->Finalize();
  if (Running().HaltHook) Running().HaltHook(code);
  std::fflush(nullptr);
  std::exit(code);
}

}  // namespace qor::startup
