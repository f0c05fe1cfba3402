#pragma once
// The launcher's main window: the CD's artwork with a column of menu entries.
#include "forms/application.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/layout.h"
#include "framework/startup/module_runner.h"
#include "rtl/strings.h"

namespace qor {

// The product's uninstall keys, K1 and K2.
inline constexpr rtl::StringView kUninstallKey1 = u"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VEX7420_2.0_is1";
inline constexpr rtl::StringView kUninstallKey2 = u"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VEX7420\\2.0_is1";

// The main window's controls in creation (and drawing) order.
forms::TLayout MainFormLayout();

class TMainForm : public forms::TForm {
 public:
  explicit TMainForm(forms::TApplication& application);

  void AfterConstruction() override;

  // The uninstall key that holds "InstallLocation": K1 per machine, K1 per user,
  // K2 per user, K2 per machine; K1 when none does.
  rtl::String GetInstallRegKey();
  // "InstallLocation" exists under FInstallRegKey, per user or per machine; asked
  // afresh at every call.
  bool IsInstalled();
  // The install folder, per machine first; an empty per-machine value falls
  // through to the per-user one. Empty when neither gives one.
  rtl::String GetInstallLocation();

  void BrochureClick(forms::TObject* Sender);
  void DescriptionClick(forms::TObject* Sender);
  void InstallClick(forms::TObject* Sender);
  void RunUpdateClick(forms::TObject* Sender);
  void ExitClick(forms::TObject* Sender);
  // Opens a new presentations window, owned by this one and not modal (the
  // picture is hidden and nothing shows it).
  void imgAdditionalClick(forms::TObject* Sender);

  // The controls, in declaration order.
  forms::TImage* Image1 = nullptr;
  forms::TLabel* Label1 = nullptr;
  forms::TLabel* Label2 = nullptr;
  forms::TLabel* Label3 = nullptr;
  forms::TImage* Image2 = nullptr;
  forms::TImage* Image3 = nullptr;
  forms::TImage* Image4 = nullptr;
  forms::TImage* Image5 = nullptr;
  forms::TImage* Image6 = nullptr;
  forms::TLabel* Label4 = nullptr;
  forms::TImage* imgAdditional = nullptr;

 private:
  rtl::String FInstallRegKey;
};

// True when another holder of the mutex Name (upper-cased) exists. The probe holds
// the name only for the instant of the test.
bool IsAppRunning(rtl::StringView Name);

// The update folder handed to the installed program: the folder of the launcher's
// program file, its last element replaced by "upd" when that element is "bin" in
// any letter case, otherwise unchanged. Both '\' and '/' separate elements.
rtl::String UpdateFolder(rtl::StringView programPath);

// The launcher window's module for the start-up table (no steps of its own).
startup::TModule NolCdrunCoreModule();

}  // namespace qor
