// The launcher's entry: the platform and the toolkit, the start-up modules, then
// the main window and its loop.
#include <cstdio>
#include <exception>
#include <memory>

#include "forms/application.h"
#include "forms/message_box.h"
#include "forms/program_title.h"
#include "forms/widgetset_factory.h"
#include "framework/startup/framework_modules.h"
#include "framework/startup/module_runner.h"
#include "launcher/nol_cdrun_core.h"
#include "platform/system_platform.h"

namespace {

using namespace qor;

startup::TStartupUI StartupUI(forms::IWidgetset& widgetset) {
  startup::TStartupUI ui;
  ui.AskYesNo = [&widgetset](rtl::StringView caption, rtl::StringView text) {
    return widgetset.ShowBox(forms::MessageBoxRequest(text, caption, forms::MB_YESNO | forms::MB_ICONQUESTION)) ==
           forms::IDYES;
  };
  ui.ShowStartupFailure = [&widgetset](rtl::StringView message) {
    std::fprintf(stderr, "%s\n", rtl::StringToUtf8(message).c_str());
    widgetset.ShowBox(forms::MessageBoxRequest(forms::ErrorBoxText(message), forms::ProgramTitle(),
                                               forms::MB_OK | forms::MB_ICONERROR));
  };
  return ui;
}

// The framework's modules in their fixed order, then the main window's own.
startup::TModuleTable LauncherModules() {
  startup::TModuleTable modules = FrameworkModules();
  modules.push_back(NolCdrunCoreModule());
  return modules;
}

int RunMainWindow(forms::IWidgetset& widgetset) {
  forms::TApplication application(widgetset);
  application.Initialize();
  application.SetMainFormOnTaskBar(true);
  try {
    application.CreateForm<TMainForm>();
  } catch (...) {
    application.HandleException();
    return 1;
  }
  try {
    application.Run();  // showing the main window can fail too (no window station)
  } catch (...) {
    application.HandleException();
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // The substitute registry is read here; a malformed file ends the program before
  // any window, with the file and line on standard error.
  std::unique_ptr<platform::TPlatform> system;
  try {
    system = platform::CreateSystemPlatform();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  platform::TScopedPlatform installed(*system);
  // Before the first window and the first shell call, on this, the UI thread.
  platform::TShellApartment apartment;

  // No display, no windows: said on standard error, code 1, instead of an exception
  // that ends the process.
  std::unique_ptr<forms::IWidgetset> widgetset;
  try {
    widgetset = forms::CreateSystemWidgetset(&argc, &argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return startup::RunProgram(LauncherModules(), StartupUI(*widgetset), [&] { return RunMainWindow(*widgetset); });
}
