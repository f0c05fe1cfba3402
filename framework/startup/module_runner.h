#pragma once
// The module table: each module may contribute one initialisation and one
// finalisation step. Initialisation runs in table order; the finalisation of every
// module whose initialisation was started runs in exact reverse order.
#include <exception>
#include <functional>
#include <vector>

#include "rtl/exceptions.h"
#include "rtl/strings.h"

namespace qor::startup {

struct TModule {
  rtl::StringView Name;
  void (*Initialization)() = nullptr;
  void (*Finalization)() = nullptr;
};

using TModuleTable = std::vector<TModule>;

// What the framework needs of the user interface, handed in by each main().
struct TStartupUI {
  // A yes/no question with no owner window; true for Yes.
  std::function<bool(rtl::StringView caption, rtl::StringView text)> AskYesNo;
  // Shows why start-up failed (an error box, or a line on standard error).
  std::function<void(rtl::StringView message)> ShowStartupFailure;
  // Reports an exception that left the program's entry; without it the report goes
  // to ShowStartupFailure as "class name: message".
  std::function<void(const rtl::Exception& E)> ShowException;
};
// The calls of the running program (empty outside RunProgram).
const TStartupUI& StartupUI();

class TModuleRunner {
 public:
  explicit TModuleRunner(TModuleTable modules) : FModules(std::move(modules)) {}
  ~TModuleRunner();
  TModuleRunner(const TModuleRunner&) = delete;
  TModuleRunner& operator=(const TModuleRunner&) = delete;

  // Runs the initialisation steps in order. When one raises, the finalisations of
  // the started modules (the failing one included) run in reverse order and the
  // exception is rethrown.
  void Initialize();
  // Runs the finalisation of every started module, newest first, once.
  void Finalize() noexcept;
  int StartedCount() const { return FStarted; }

 private:
  TModuleTable FModules;
  int FStarted = 0;
};

// Runs a whole program: initialisation, entry() (its result is the exit code),
// finalisation. A start-up failure is shown through ui.ShowStartupFailure and
// gives exit code 1; entry() does not run. An exception of any kind that leaves
// entry() is reported through ui.ShowException before the finalisation, and gives
// exit code 1.
int RunProgram(TModuleTable modules, const TStartupUI& ui, const std::function<int()>& entry);

// The exit operation: runs the finalisations of the running program and ends the
// process with code. Outside RunProgram it only ends the process.
[[noreturn]] void Halt(int code);

// Tests replace the process end so Halt can be observed; the hook must not return
// normally (throw from it).
void SetHaltHook(std::function<void(int)> hook);

}  // namespace qor::startup
