// nol_cdtool: a console tool on the framework's console application base.
#include <cstdio>
#include <memory>
#include <string>

#include "framework/console/nol_console.h"
#include "framework/startup/framework_modules.h"
#include "framework/startup/module_runner.h"
#include "platform/platform.h"
#include "platform/system_platform.h"
#include "rtl/exceptions.h"
#include "tools/cdtool/cdtool_actions.h"

namespace {

// Start-up failures go to standard error, in the console's code page once the
// platform exists.
void WriteStandardError(qor::rtl::StringView message) {
  std::string bytes = qor::platform::PlatformInstalled()
                          ? qor::platform::Platform().CodePages().UnicodeToOem(message)
                          : qor::rtl::StringToUtf8(message);
  bytes += '\n';
  std::fputs(bytes.c_str(), stderr);
  std::fflush(stderr);
}

}  // namespace

int main() {
  qor::SetConsoleProgram(true);
  std::unique_ptr<qor::platform::TPlatform> platform;
  try {
    platform = qor::platform::CreateSystemPlatform();
  } catch (const qor::rtl::Exception& e) {
    WriteStandardError(e.Message());
    return 1;
  }
  qor::platform::TScopedPlatform scope(*platform);

  qor::startup::TStartupUI ui;
  ui.AskYesNo = [](qor::rtl::StringView, qor::rtl::StringView) { return false; };
  ui.ShowStartupFailure = &WriteStandardError;
  ui.ShowException = [](const qor::rtl::Exception& e) {
    if (!qor::LogUnhandledException(e)) WriteStandardError(qor::rtl::String(e.ClassName()) + u": " + e.Message());
  };
  // The tool uses no network: no offline-mode question.
  qor::TFrameworkOptions options;
  options.OfflineModeCheck = false;
  return qor::startup::RunProgram(qor::FrameworkModules(options), ui, &qor::cdtool::RunTool);
}
