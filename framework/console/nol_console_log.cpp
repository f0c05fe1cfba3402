#include "framework/console/nol_console_log.h"

#include <string>

#include "platform/platform.h"

namespace qor {

namespace {
bool& ConsoleProgramFlag() {
  static bool flag = false;
  return flag;
}
}  // namespace

void SetConsoleProgram(bool Value) { ConsoleProgramFlag() = Value; }

bool IsConsoleProgram() { return ConsoleProgramFlag(); }

void TConsoleLog::Log(rtl::StringView Text, bool IsLn) {
  if (!IsConsoleProgram()) return;
  platform::TPlatform& p = platform::Platform();
  platform::TConsoleService& console = p.Console();
  if (!console.IsConsoleProgram()) return;
  // The conversion sizes its own output: a fixed buffer of one byte per UTF-16
  // unit would cut multi-byte pages (the terminal's UTF-8, double-byte OEM pages).
  if (!Text.empty()) {
    const std::string bytes = p.CodePages().UnicodeToOem(Text);
    console.Write(bytes);
  }
  if (IsLn) console.WriteLineEnd();
  // Flushed after every entry, so the console shows each as it happens.
  console.Flush();
}

}  // namespace qor
