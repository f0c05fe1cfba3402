#pragma once
// The actions of nol_cdtool and its help text.
#include "framework/console/nol_console.h"

namespace qor::cdtool {

rtl::String HelpText();
// Registers -verify, -encrypt and -decrypt with app and sets its help text.
void RegisterActions(TConsoleApp& app);
// Runs the tool on the process's console application: applies -config, then RunApp.
// Returns only when the configuration fails (exit code 1).
int RunTool();

}  // namespace qor::cdtool
