#pragma once
// The framework's modules in their fixed start-up order. Each executable appends
// its own modules and hands the table to RunProgram.
#include "framework/startup/module_runner.h"

namespace qor {

struct TFrameworkOptions {
  // The launcher asks about the system's offline mode; console tools use no network.
  bool OfflineModeCheck = true;
};

startup::TModuleTable FrameworkModules(const TFrameworkOptions& options = {});

}  // namespace qor
