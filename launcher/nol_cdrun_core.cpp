#include "launcher/nol_cdrun_core.h"

#include <array>
#include <optional>

#include "assets/nol_assets.h"
#include "forms/message_box.h"
#include "launcher/nol_cdrun_add.h"
#include "launcher/nol_cdrun_exec.h"
#include "launcher/nol_cdrun_strings.h"
#include "launcher/nol_lib.h"
#include "platform/platform.h"
#include "platform/resource_strings.h"
#include "rtl/convert.h"

namespace qor {

namespace {

using forms::TControlKind;
using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;

constexpr rtl::StringView kMainCaption = u"Квиллбокс «ЛОРАНТА». ПО к «Еженедельнику ЛОРАНТА».";
constexpr forms::TColor kCaptionColor = forms::RGB(1, 113, 54);
constexpr rtl::StringView kReinstallCaption = u"Переустановка";
constexpr rtl::StringView kBackgroundFile = u"..\\img\\cd.jpg";

constexpr rtl::StringView kInstallLocation = u"InstallLocation";
constexpr rtl::StringView kBrochureDocument = u"..\\pdf\\loranta.pdf";
constexpr rtl::StringView kDescriptionDocument = u"..\\doc\\htmlhelp.chm";
constexpr rtl::StringView kInstallerCommandLine = u"nol_setup.exe";
constexpr rtl::StringView kRunningMutex1 = u"NOL_RUNNING";
constexpr rtl::StringView kRunningMutex2 = u"VEX7420_RUNNING";
constexpr rtl::StringView kVersionKey = u"\\SOFTWARE\\Halvern\\Quillbox\\2.0";
constexpr rtl::StringView kVersionValue = u"VersionFDB";
constexpr std::int32_t kLastVersionWithoutUpdate = 3;
constexpr rtl::StringView kAdvertSource = u"..\\img\\cd_2.jpg";
constexpr rtl::StringView kAdvertTarget = u"img\\qor_adv.jpg";
constexpr rtl::StringView kInstalledProgram = u"bin\\qor7420main.exe";
constexpr rtl::StringView kInstalledProgramDir = u"bin\\";

// M1 is the launcher's one localisable text, a resource string; M2 and M3 are fixed.
constexpr rtl::StringView kReinstallQuestionBuiltIn = u"" NOL_TEXT_REINSTALL_QUESTION;
constexpr rtl::StringView kCloseProgramFirst = u"Для обновления необходимо закрыть саму программу!";
constexpr rtl::StringView kReinstallRecommended = u"Рекомендуется полная переустановка программы!";
constexpr rtl::StringView kWarningCaption = u"Warning";
constexpr rtl::StringView kInformationCaption = u"Information";

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// The folder of a file path without a trailing separator; a root ("D:\", "/")
// keeps its separator.
rtl::String ExtractFileDir(rtl::StringView path) {
  std::size_t i = path.size();
  while (i > 0 && !IsSeparator(path[i - 1]) && path[i - 1] != u':') --i;
  if (i == 0) return rtl::String();
  std::size_t end = i;
  if (IsSeparator(path[i - 1]) && i > 1 && !IsSeparator(path[i - 2]) && path[i - 2] != u':') end = i - 1;
  return rtl::String(path.substr(0, end));
}

}  // namespace

forms::TLayout MainFormLayout() {
  static const forms::TFontSpec captionFont{u"Tahoma", 16, true, forms::clWindowText};
  auto image = [](rtl::StringView name, int left, int top, int width, int height, bool visible,
                  std::span<const unsigned char> picture) {
    return forms::TControlSpec{.Kind = TControlKind::Image, .Name = name, .Left = left, .Top = top,
                               .Width = width, .Height = height, .Visible = visible,
                               .Cursor = forms::crHandPoint, .AutoSize = true, .Picture = picture};
  };
  auto label = [](rtl::StringView name, int left, int top, int width, int height, bool visible,
                  rtl::StringView caption) {
    return forms::TControlSpec{.Kind = TControlKind::Label, .Name = name, .Left = left, .Top = top,
                               .Width = width, .Height = height, .Visible = visible,
                               .Cursor = forms::crHandPoint, .AutoSize = true, .Caption = caption,
                               .Transparent = true, .Font = &captionFont};
  };
  static const std::array<forms::TControlSpec, 11> layout = {
      forms::TControlSpec{.Kind = TControlKind::Image, .Name = u"Image1", .Left = 0, .Top = 0, .Width = 887,
                          .Height = 591, .Align = forms::alClient},
      image(u"Image2", 693, 102, 116, 84, true, assets::BrochurePng()),
      image(u"Image3", 609, 220, 118, 82, true, assets::DescriptionPng()),
      image(u"Image4", 609, 308, 92, 79, false, assets::InstallPng()),
      image(u"Image5", 593, 478, 136, 94, true, assets::ExitPng()),
      label(u"Label3", 704, 511, 55, 19, true, u"Выход"),
      label(u"Label2", 704, 331, 88, 19, false, u"Установка"),
      label(u"Label1", 704, 244, 80, 19, true, u"Описание"),
      image(u"Image6", 609, 350, 77, 79, true, assets::UpdatePng()),
      label(u"Label4", 704, 368, 168, 19, true, u"Запуск/Обновление"),
      forms::TControlSpec{.Kind = TControlKind::Image, .Name = u"imgAdditional", .Left = 692, .Top = 8,
                          .Width = 187, .Height = 65, .Visible = false, .Cursor = forms::crHandPoint,
                          .Picture = assets::AdditionalPng(), .Stretch = true},
  };
  return layout;
}

TMainForm::TMainForm(forms::TApplication& application) : forms::TForm(application) {
  SetClientSize(887, 591);
  SetBorderStyle(forms::bsSingle);
  SetPosition(forms::poScreenCenter);
  Icon().LoadFromMemory(assets::IconPng());
  CreateControls(MainFormLayout());
  Image1 = &Control<forms::TImage>(u"Image1");
  Label1 = &Control<forms::TLabel>(u"Label1");
  Label2 = &Control<forms::TLabel>(u"Label2");
  Label3 = &Control<forms::TLabel>(u"Label3");
  Image2 = &Control<forms::TImage>(u"Image2");
  Image3 = &Control<forms::TImage>(u"Image3");
  Image4 = &Control<forms::TImage>(u"Image4");
  Image5 = &Control<forms::TImage>(u"Image5");
  Image6 = &Control<forms::TImage>(u"Image6");
  Label4 = &Control<forms::TLabel>(u"Label4");
  imgAdditional = &Control<forms::TImage>(u"imgAdditional");
  // The one handler the layout binds; AfterConstruction binds the others.
  imgAdditional->OnClick = [this](forms::TObject* sender) { imgAdditionalClick(sender); };
}

void TMainForm::AfterConstruction() {
  forms::TForm::AfterConstruction();
  FInstallRegKey = GetInstallRegKey();
  SetCaption(kMainCaption);
  SetColor(forms::clWhite);
  for (forms::TLabel* label : {Label1, Label2, Label3, Label4}) label->Font().SetColor(kCaptionColor);
  // Every caption draws over every picture.
  for (forms::TLabel* label : {Label1, Label2, Label3, Label4}) label->BringToFront();
  Label1->OnClick = [this](forms::TObject* sender) { DescriptionClick(sender); };
  Label2->OnClick = [this](forms::TObject* sender) { InstallClick(sender); };
  Label3->OnClick = [this](forms::TObject* sender) { ExitClick(sender); };
  Label4->OnClick = [this](forms::TObject* sender) { RunUpdateClick(sender); };
  Image2->OnClick = [this](forms::TObject* sender) { BrochureClick(sender); };
  Image3->OnClick = Label1->OnClick;
  Image4->OnClick = Label2->OnClick;
  Image5->OnClick = Label3->OnClick;
  Image6->OnClick = Label4->OnClick;
  if (IsInstalled()) {
    Label2->SetCaption(kReinstallCaption);
  } else {
    Image6->Hide();
    Label4->Hide();
  }
  // A picture that cannot be decoded leaves Image1 empty, as a missing one does.
  if (platform::Platform().Files().FileExists(kBackgroundFile)) Image1->Picture().LoadFromFile(kBackgroundFile);
}

rtl::String TMainForm::GetInstallRegKey() {
  struct TProbe {
    platform::TRegRoot Root;
    rtl::StringView Key;
  };
  static constexpr std::array<TProbe, 4> probes = {{
      {HKEY_LOCAL_MACHINE, kUninstallKey1},
      {HKEY_CURRENT_USER, kUninstallKey1},
      {HKEY_CURRENT_USER, kUninstallKey2},
      {HKEY_LOCAL_MACHINE, kUninstallKey2},
  }};
  for (const TProbe& probe : probes)
    if (RegValueExists(kInstallLocation, probe.Root, probe.Key)) return rtl::String(probe.Key);
  return rtl::String(kUninstallKey1);
}

bool TMainForm::IsInstalled() {
  return RegValueExists(kInstallLocation, HKEY_CURRENT_USER, FInstallRegKey) ||
         RegValueExists(kInstallLocation, HKEY_LOCAL_MACHINE, FInstallRegKey);
}

rtl::String TMainForm::GetInstallLocation() {
  rtl::String folder = RegReadString(kInstallLocation, u"", HKEY_LOCAL_MACHINE, FInstallRegKey);
  if (folder.empty()) folder = RegReadString(kInstallLocation, u"", HKEY_CURRENT_USER, FInstallRegKey);
  return folder;
}

void TMainForm::BrochureClick(forms::TObject*) {
  ShellOpen(kBrochureDocument, std::nullopt, std::nullopt, platform::SW_SHOWNORMAL);
  Close();
}

void TMainForm::DescriptionClick(forms::TObject*) {
  ShellOpen(kDescriptionDocument, std::nullopt, std::nullopt, platform::SW_SHOWNORMAL);
}

void TMainForm::InstallClick(forms::TObject*) {
  bool proceed = true;
  if (IsInstalled())
    proceed = Application().MessageBox(platform::ResourceString(IDS_REINSTALL_QUESTION, kReinstallQuestionBuiltIn),
                                       kWarningCaption,
                                       forms::MB_YESNO | forms::MB_ICONWARNING | forms::MB_DEFBUTTON1) ==
              forms::IDYES;
  if (proceed) RunProcess(kInstallerCommandLine, platform::SW_SHOWNORMAL);
  Close();
}

void TMainForm::RunUpdateClick(forms::TObject*) {
  if (IsAppRunning(kRunningMutex1) || IsAppRunning(kRunningMutex2)) {
    Application().MessageBox(kCloseProgramFirst, kInformationCaption, forms::MB_OK | forms::MB_ICONINFORMATION);
    return;
  }
  if (!RegValueExists(kVersionValue, HKEY_CURRENT_USER, kVersionKey)) {
    Application().MessageBox(kReinstallRecommended, kInformationCaption, forms::MB_OK | forms::MB_ICONINFORMATION);
    return;
  }
  const std::int32_t version = rtl::StrToInt(RegReadString(kVersionValue, u"0", HKEY_CURRENT_USER, kVersionKey));
  if (version <= kLastVersionWithoutUpdate) {
    Application().MessageBox(kReinstallRecommended, kInformationCaption, forms::MB_OK | forms::MB_ICONINFORMATION);
    return;
  }
  const rtl::String installFolder = GetInstallLocation();
  if (!installFolder.empty()) {
    // The outcome is not examined: a missing picture or folder does not stop the update.
    platform::Platform().Files().Copy(kAdvertSource, installFolder + rtl::String(kAdvertTarget), false);
    const rtl::String updateFolder = UpdateFolder(platform::Platform().Files().ProgramPath());
    ShellOpen(installFolder + rtl::String(kInstalledProgram), u"/update /update_path \"" + updateFolder + u"\"",
              installFolder + rtl::String(kInstalledProgramDir), platform::SW_SHOW);
  }
  Close();
}

void TMainForm::ExitClick(forms::TObject*) { Close(); }

void TMainForm::imgAdditionalClick(forms::TObject*) {
  // Every click opens another presentations window, owned by this one.
  CreateOwnedForm<TFormAdditional>().Show();
}

bool IsAppRunning(rtl::StringView Name) {
  platform::TMutexService& mutexes = platform::Platform().Mutexes();
  platform::TSysError lastError = platform::kErrorSuccess;
  const platform::THandle mutex = mutexes.Create(rtl::UpperCase(Name), lastError);
  if (mutex != platform::kNoHandle) mutexes.Close(mutex);
  return lastError == platform::kErrorAlreadyExists;
}

rtl::String UpdateFolder(rtl::StringView programPath) {
  rtl::String folder = ExtractFileDir(programPath);
  std::size_t start = folder.size();
  while (start > 0 && !IsSeparator(folder[start - 1]) && folder[start - 1] != u':') --start;
  if (rtl::SameTextAscii(rtl::StringView(folder).substr(start), u"bin")) folder.replace(start, 3, u"upd");
  return folder;
}

startup::TModule NolCdrunCoreModule() { return startup::TModule{u"nol_cdrun_core", nullptr, nullptr}; }

}  // namespace qor
