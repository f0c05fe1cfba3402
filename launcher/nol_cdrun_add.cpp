#include "launcher/nol_cdrun_add.h"

#include <array>
#include <optional>

#include "assets/nol_assets.h"
#include "forms/application.h"
#include "launcher/nol_cdrun_exec.h"
#include "platform/process.h"

namespace qor {

namespace {

using forms::TControlKind;

// Each letter i of the window's caption and of "дослiдження" in C1 is the Latin
// small letter i (U+0069).
constexpr rtl::StringView kCaption = u"Презентацiйнi матерiали на CD";
constexpr rtl::StringView kCaptionC1 = u"Datavane - комплексне дослiдження фармацевтичного ринку України";
// Three lines; the second ends with a space.
constexpr rtl::StringView kCaptionC2 =
    u"Інформаційно-аналітичний огляд\r\nУкраїнський фармацевтичний ринок \r\nАналіз та прогнози 2010-2012";
constexpr rtl::StringView kCaptionC3 = u"Автоматизація та інформаційне забезпечення аптек";

constexpr rtl::StringView kSlideShow = u"..\\etc\\nereval.pps";
constexpr rtl::StringView kReaderCommandLine = u"FoxitReader.exe ..\\etc\\Brevlo2010.pdf";
constexpr rtl::StringView kVideo = u"..\\etc\\pk_loranta.wmv";

}  // namespace

forms::TLayout FormAdditionalLayout() {
  static const forms::TFontSpec captionFont{u"Tahoma", 16, true, forms::clWindowText};
  auto label = [](rtl::StringView name, int left, int top, int width, int height, rtl::StringView caption) {
    return forms::TControlSpec{.Kind = TControlKind::Label, .Name = name, .Left = left, .Top = top,
                               .Width = width, .Height = height, .AutoSize = true, .Caption = caption,
                               .WordWrap = true, .Transparent = true, .Font = &captionFont};
  };
  auto button = [](rtl::StringView name, int left, int top, int width, int height) {
    return forms::TControlSpec{.Kind = TControlKind::SpeedButton, .Name = name, .Left = left, .Top = top,
                               .Width = width, .Height = height, .Cursor = forms::crHandPoint, .Flat = true};
  };
  static const std::array<forms::TControlSpec, 7> layout = {
      forms::TControlSpec{.Kind = TControlKind::Image, .Name = u"imgBackground", .Left = 1, .Top = 0,
                          .Width = 600, .Height = 400, .AutoSize = true, .Picture = assets::PresentationsJpg()},
      label(u"lblPharm", 215, 168, 313, 57, kCaptionC2),
      label(u"lblLoranta", 215, 305, 276, 38, kCaptionC3),
      label(u"lblNereval", 215, 43, 273, 57, kCaptionC1),
      button(u"btnPharm", 0, 41, 585, 62),
      button(u"btnNereval", 0, 167, 585, 61),
      button(u"btnLoranta", 0, 292, 585, 62),
  };
  return layout;
}

TFormAdditional::TFormAdditional(forms::TForm& owner) : forms::TForm(owner) {
  SetCaption(kCaption);
  SetBorderStyle(forms::bsToolWindow);
  SetPosition(forms::poOwnerFormCenter);
  SetClientSize(601, 400);
  // The system's colours, the classic ones where it gives none.
  SetColor(Application().SystemColor(forms::TSystemColor::BtnFace, forms::clBtnFace));
  CreateControls(FormAdditionalLayout());
  imgBackground = &Control<forms::TImage>(u"imgBackground");
  lblPharm = &Control<forms::TLabel>(u"lblPharm");
  lblLoranta = &Control<forms::TLabel>(u"lblLoranta");
  lblNereval = &Control<forms::TLabel>(u"lblNereval");
  btnPharm = &Control<forms::TSpeedButton>(u"btnPharm");
  btnNereval = &Control<forms::TSpeedButton>(u"btnNereval");
  btnLoranta = &Control<forms::TSpeedButton>(u"btnLoranta");
  const forms::TColor text = Application().SystemColor(forms::TSystemColor::WindowText, forms::clWindowText);
  for (forms::TLabel* label : {lblPharm, lblLoranta, lblNereval}) label->Font().SetColor(text);
  btnPharm->OnClick = [this](forms::TObject* sender) { btnPharmClick(sender); };
  btnNereval->OnClick = [this](forms::TObject* sender) { btnNerevalClick(sender); };
  btnLoranta->OnClick = [this](forms::TObject* sender) { btnLorantaClick(sender); };
  OnClose = [this](forms::TObject* sender, forms::TCloseAction& action) { FormClose(sender, action); };
  OnKeyUp = [this](forms::TObject* sender, forms::TKey& key, forms::TShiftState shift) {
    FormKeyUp(sender, key, shift);
  };
}

void TFormAdditional::btnPharmClick(forms::TObject*) {
  ShellOpen(kSlideShow, std::nullopt, std::nullopt, platform::SW_SHOWMAXIMIZED);
}

void TFormAdditional::btnNerevalClick(forms::TObject*) {
  // Found by the executable search; the result is not examined.
  RunProcess(kReaderCommandLine, platform::SW_SHOWNORMAL);
}

void TFormAdditional::btnLorantaClick(forms::TObject*) {
  ShellOpen(kVideo, std::nullopt, std::nullopt, platform::SW_SHOWMAXIMIZED);
}

void TFormAdditional::FormClose(forms::TObject*, forms::TCloseAction& Action) { Action = forms::caFree; }

void TFormAdditional::FormKeyUp(forms::TObject*, forms::TKey& Key, forms::TShiftState) {
  if (Key == forms::VK_ESCAPE) Close();
}

}  // namespace qor
