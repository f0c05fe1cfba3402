// nol_console_probe ACTION [-config FILE]: a console program on the framework whose
// actions raise what the runtime does not raise itself.
//   -bad-alloc      std::bad_alloc
//   -library-error  a library's own std::exception class
//   -notify-error   an rtl error, whose error notification raises std::runtime_error
#include <cstdio>
#include <memory>
#include <new>
#include <stdexcept>

#include "framework/console/nol_console.h"
#include "framework/startup/framework_modules.h"
#include "platform/system_platform.h"

namespace probelib {
class ParseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
}  // namespace probelib

namespace {

using namespace qor;

void WriteStandardError(rtl::StringView message) {
  std::fprintf(stderr, "%s\n", rtl::StringToUtf8(message).c_str());
}

int RunProbe() {
  TConsoleApp& app = *ConsoleApp;
  app.RegisterAction(u"-bad-alloc", [] { throw std::bad_alloc(); });
  app.RegisterAction(u"-library-error", [] { throw probelib::ParseError("unexpected token"); });
  app.RegisterAction(u"-notify-error", [] { throw rtl::EConvertError(u"not a number"); });
  app.SetOnErrorNotify([](rtl::StringView, rtl::StringView) { throw std::runtime_error("mail server gone"); });
  if (app.ParamExists(u"-config")) app.SetConfigFileName(app.ParamValue(u"-config"));
  app.RunApp();
}

}  // namespace

int main() {
  SetConsoleProgram(true);
  std::unique_ptr<platform::TPlatform> platform = platform::CreateSystemPlatform();
  platform::TScopedPlatform scope(*platform);
  startup::TStartupUI ui;
  ui.AskYesNo = [](rtl::StringView, rtl::StringView) { return false; };
  ui.ShowStartupFailure = &WriteStandardError;
  ui.ShowException = [](const rtl::Exception& e) {
    if (!LogUnhandledException(e)) WriteStandardError(e.Message());
  };
  TFrameworkOptions options;
  options.OfflineModeCheck = false;
  return startup::RunProgram(FrameworkModules(options), ui, &RunProbe);
}
