#pragma once
// The command-line arguments of the running program, handed in by main(): index 0
// is the program as started, 1 to N the parameters.
#include <vector>

#include "rtl/strings.h"

namespace qor {

void SetCommandLineArguments(std::vector<rtl::String> Args);
const std::vector<rtl::String>& CommandLineArguments();

// The number of parameters (the program itself not counted).
int ParamCount();
// Argument Index, or the empty string when there is none.
rtl::String ParamStr(int Index);

}  // namespace qor
