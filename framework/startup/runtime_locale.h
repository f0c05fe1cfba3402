#pragma once
// The runtime's own first step: the process-wide default format settings are
// filled from the user's locale before any framework step runs.
#include "framework/startup/module_runner.h"

namespace qor {

const startup::TModule& RuntimeLocaleModule();

}  // namespace qor
