#pragma once
#include "rtl/strings.h"

namespace qor::forms {

// The program file's name without its extension ("nol_cdrun"); empty when no
// platform is installed.
rtl::String ProgramTitle();
// The last element of a Windows or POSIX path without its extension.
rtl::String FileTitle(rtl::StringView path);

}  // namespace qor::forms
