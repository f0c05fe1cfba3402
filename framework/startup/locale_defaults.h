#pragma once
// Overwrites five fields of the process-wide default format settings, so that
// numbers and dates read the same whatever the user's locale.
#include "framework/startup/module_runner.h"

namespace qor {

const startup::TModule& LocaleDefaultsModule();

}  // namespace qor
