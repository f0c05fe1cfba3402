#pragma once
// The console writer of the console application base.
#include "rtl/strings.h"

namespace qor {

// Whether this executable is a console program. Decided by each executable's main()
// before start-up (a console tool says true); a program that never says so is
// treated as a window program and writes nothing to the console.
void SetConsoleProgram(bool Value);
bool IsConsoleProgram();

class TConsoleLog {
 public:
  TConsoleLog() = delete;

  // Text in the console's code page (OEM on Windows, the terminal's character set
  // elsewhere) on standard output; IsLn ends the line. Nothing when the program is
  // not a console program.
  static void Log(rtl::StringView Text, bool IsLn);
};

}  // namespace qor
