#pragma once
// ProgramFileDate: the program file's modification date in the process-wide
// short date format.
#include "framework/startup/module_runner.h"
#include "rtl/strings.h"

namespace qor {

// Empty when the program file's time cannot be read.
rtl::String& ProgramFileDate();

const startup::TModule& ProgramFileDateModule();

}  // namespace qor
