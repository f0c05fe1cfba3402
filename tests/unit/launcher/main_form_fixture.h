#pragma once
// The main window on the headless widgetset and the fake platform.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "forms/application.h"
#include "forms/headless/headless_widgetset.h"
#include "launcher/nol_cdrun_core.h"
#include "platform/fake/fake_platform.h"

namespace qor::testing {

namespace headless = forms::headless;
using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;

inline constexpr rtl::StringView kInstallFolder = u"C:\\Program Files\\Quillbox\\";
inline constexpr rtl::StringView kVersionKey = u"\\SOFTWARE\\Halvern\\Quillbox\\2.0";

class MainFormTest : public ::testing::Test {
 protected:
  // The product installed under root and key, with its install folder.
  void Install(platform::TRegRoot root = HKEY_LOCAL_MACHINE, rtl::StringView key = kUninstallKey1,
               rtl::StringView folder = kInstallFolder) {
    Platform.Registry().SetString(root, key, u"InstallLocation", folder);
  }
  void SetVersion(rtl::StringView text) {
    Platform.Registry().SetString(HKEY_CURRENT_USER, kVersionKey, u"VersionFDB", text);
  }

  // Creates and shows the main window as the entry sequence does.
  TMainForm& Create() {
    App.reset();
    Widgetset.ResetQuit();
    App = std::make_unique<forms::TApplication>(Widgetset);
    Form = &App->CreateForm<TMainForm>();
    Form->Show();
    return *Form;
  }
  headless::THeadlessWindow& Window() { return *Widgetset.Windows().front(); }

  // A point where control is the topmost visible control.
  forms::TPoint PointOn(const forms::TControl& control) {
    const forms::TRect r = control.BoundsRect();
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (Form->ControlAtPos({x, y}) == &control) return {x, y};
    ADD_FAILURE() << "no visible point on " << rtl::StringToUtf8(control.Name());
    return {-1, -1};
  }
  // Clicks the control and runs what the click posted (closing, for one).
  void Click(const forms::TControl& control) {
    Widgetset.Click(Window(), PointOn(control));
    Widgetset.DrainPosted();
  }
  bool Closed() const { return App->Terminated(); }
  int BoxCount() const { return static_cast<int>(Widgetset.Boxes().size()); }
  const forms::TBoxRequest& LastBox() const { return Widgetset.Boxes().back().Request; }
  const std::vector<platform::fake::TFakeShell::TCall>& ShellCalls() { return Platform.Shell().Calls(); }

  platform::fake::TFakePlatform Platform;
  platform::TScopedPlatform Scoped{Platform};
  headless::THeadlessWidgetset Widgetset;
  std::unique_ptr<forms::TApplication> App;
  TMainForm* Form = nullptr;
};

}  // namespace qor::testing
