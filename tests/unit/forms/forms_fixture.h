#pragma once
// A headless application on the fake platform (whose program file is
// C:\cd\bin\nol_cdrun.exe), with helpers to reach a form's window.
#include <gtest/gtest.h>

#include "forms/application.h"
#include "forms/headless/headless_widgetset.h"
#include "platform/fake/fake_platform.h"

namespace qor::forms::testing {

class FormsTest : public ::testing::Test {
 protected:
  platform::fake::TFakePlatform Fake;
  platform::TScopedPlatform Scoped{Fake};
  headless::THeadlessWidgetset Ws;
  TApplication App{Ws};

  static headless::THeadlessWindow& Win(const TForm& form) {
    EXPECT_NE(form.Handle(), nullptr) << "form not shown";
    return static_cast<headless::THeadlessWindow&>(*form.Handle());
  }
};

// A main-window-sized form with a few controls made through a layout table.
class TTestForm : public TForm {
 public:
  explicit TTestForm(TApplication& app) : TForm(app) { Setup(); }
  explicit TTestForm(TForm& owner) : TForm(owner) {
    Setup();
    SetBorderStyle(bsToolWindow);
    SetPosition(poOwnerFormCenter);
  }
  TImage& Back() const { return Control<TImage>(u"imgBack"); }
  TImage& Picture() const { return Control<TImage>(u"imgPicture"); }
  TLabel& Caption1() const { return Control<TLabel>(u"lblCaption"); }
  TSpeedButton& Button() const { return Control<TSpeedButton>(u"btnFlat"); }
  TImage& Hidden() const { return Control<TImage>(u"imgHidden"); }

 private:
  void Setup() {
    static const TFontSpec bold{u"Tahoma", 16, true, RGB(1, 113, 54)};
    static const TControlSpec layout[] = {
        {.Kind = TControlKind::Image, .Name = u"imgBack", .Align = alClient},
        {.Kind = TControlKind::Image, .Name = u"imgPicture", .Left = 100, .Top = 100, .Width = 80, .Height = 60,
         .Cursor = crHandPoint},
        {.Kind = TControlKind::Label, .Name = u"lblCaption", .Left = 150, .Top = 120, .AutoSize = true,
         .Caption = u"Caption", .Transparent = true, .Font = &bold},
        {.Kind = TControlKind::SpeedButton, .Name = u"btnFlat", .Left = 300, .Top = 300, .Width = 100, .Height = 40,
         .Cursor = crHandPoint, .Flat = true},
        {.Kind = TControlKind::Image, .Name = u"imgHidden", .Left = 300, .Top = 300, .Width = 100, .Height = 40,
         .Visible = false, .Cursor = crHandPoint},
    };
    SetClientSize(887, 591);
    SetPosition(poScreenCenter);
    CreateControls(layout);
  }
};

}  // namespace qor::forms::testing
