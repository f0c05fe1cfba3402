#pragma once
// FixedFormatSettings: fixed patterns on top of the system's default locale.
#include <optional>

#include "framework/startup/module_runner.h"
#include "rtl/format_settings.h"

namespace qor {

// Empty before the module's start-up and after its shut-down.
std::optional<rtl::TFormatSettings>& FixedFormatSettings();

const startup::TModule& FixedFormatSettingsModule();

}  // namespace qor
