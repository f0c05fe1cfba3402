// The presentations window on the headless widgetset and the fake platform: its
// layout, what each band opens, closing by Escape and with the main window, and
// the main window opening a new one on every click.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "forms/application.h"
#include "forms/headless/headless_widgetset.h"
#include "launcher/nol_cdrun_add.h"
#include "launcher/nol_cdrun_core.h"
#include "platform/fake/fake_platform.h"

namespace qor::testing {
namespace {

namespace headless = forms::headless;
using forms::TControl;
using forms::TPoint;

constexpr rtl::StringView kCaption = u"Презентацiйнi матерiали на CD";
constexpr rtl::StringView kC1 = u"Datavane - комплексне дослiдження фармацевтичного ринку України";
constexpr rtl::StringView kC2 =
    u"Інформаційно-аналітичний огляд\r\nУкраїнський фармацевтичний ринок \r\nАналіз та прогнози 2010-2012";
constexpr rtl::StringView kC3 = u"Автоматизація та інформаційне забезпечення аптек";

class FormAdditionalTest : public ::testing::Test {
 protected:
  FormAdditionalTest() {
    App = std::make_unique<forms::TApplication>(Widgetset);
    Main = &App->CreateForm<TMainForm>();
    Main->Show();
  }
  // Opens a presentations window the way the main window's picture does.
  TFormAdditional& Open() {
    Main->imgAdditionalClick(Main->imgAdditional);
    Widgetset.DrainPosted();
    return static_cast<TFormAdditional&>(Main->OwnedForms(Main->OwnedFormCount() - 1));
  }
  headless::THeadlessWindow& WindowOf(const forms::TForm& form) {
    for (headless::THeadlessWindow* w : Widgetset.Windows())
      if (form.Handle() == w) return *w;
    throw std::logic_error("no window");
  }
  void ClickAt(forms::TForm& form, TPoint p) {
    Widgetset.Click(WindowOf(form), p);
    Widgetset.DrainPosted();
  }
  static TPoint CentreOf(const TControl& c) {
    const forms::TRect r = c.BoundsRect();
    return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  const auto& ShellCalls() { return Platform.Shell().Calls(); }
  const auto& ProcessCalls() { return Platform.Processes().Calls(); }

  platform::fake::TFakePlatform Platform;
  platform::TScopedPlatform Scoped{Platform};
  headless::THeadlessWidgetset Widgetset;
  std::unique_ptr<forms::TApplication> App;
  TMainForm* Main = nullptr;
};

// The button face behind the window (its one-pixel column) and the captions'
// text come from the system; the classic colours stand in where it gives none.
TEST_F(FormAdditionalTest, SystemColoursForTheFaceAndTheCaptions) {
  const forms::TColor face = forms::RGB(212, 208, 200), text = forms::RGB(16, 32, 48);
  Widgetset.SystemColors = {{forms::TSystemColor::BtnFace, face}, {forms::TSystemColor::WindowText, text}};
  TFormAdditional& f = Open();
  EXPECT_EQ(f.Color(), face);
  EXPECT_EQ(WindowOf(f).Params().Color, face);
  for (forms::TLabel* label : {f.lblPharm, f.lblLoranta, f.lblNereval}) EXPECT_EQ(label->Font().Color(), text);
  Widgetset.SystemColors.clear();
  TFormAdditional& classic = Open();
  EXPECT_EQ(classic.Color(), forms::clBtnFace);
  EXPECT_EQ(classic.lblPharm->Font().Color(), forms::clWindowText);
}

TEST_F(FormAdditionalTest, WindowAndLayoutAsDesigned) {
  TFormAdditional& f = Open();
  EXPECT_EQ(f.Caption(), kCaption);
  EXPECT_EQ(f.Owner(), Main);
  EXPECT_EQ(f.BorderStyle(), forms::bsToolWindow);
  EXPECT_EQ(f.Position(), forms::poOwnerFormCenter);
  EXPECT_EQ(f.ClientWidth(), 601);
  EXPECT_EQ(f.ClientHeight(), 400);
  EXPECT_EQ(f.Color(), forms::clBtnFace);
  EXPECT_EQ(f.Font().Desc(), (forms::TFontDesc{u"Tahoma", 11, false}));
  const auto& params = WindowOf(f).Params();
  EXPECT_EQ(params.Kind, forms::TWindowKind::Tool);
  EXPECT_EQ(params.Owner, Main->Handle());
  EXPECT_EQ(params.Placement, forms::TWindowPlacement::OwnerCenter);
  EXPECT_FALSE(params.TaskbarButton);
  EXPECT_EQ(params.ClientWidth, 601);
  EXPECT_EQ(params.ClientHeight, 400);

  // Creation order is drawing order; the fields follow declaration order.
  const std::vector<rtl::String> order = {u"imgBackground", u"lblPharm",   u"lblLoranta", u"lblNereval",
                                          u"btnPharm",      u"btnNereval", u"btnLoranta"};
  ASSERT_EQ(f.ControlCount(), 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(f.Controls(i).Name(), order[static_cast<std::size_t>(i)]);
  EXPECT_EQ(&f.Controls(0), f.imgBackground);
  EXPECT_EQ(&f.Controls(1), f.lblPharm);
  EXPECT_EQ(&f.Controls(4), f.btnPharm);

  EXPECT_EQ(f.imgBackground->BoundsRect(), forms::Bounds(1, 0, 600, 400));
  EXPECT_TRUE(f.imgBackground->AutoSize());
#if NOL_FORMS_DECODES_PICTURES
  EXPECT_EQ(f.imgBackground->Picture().Width(), 600);
  EXPECT_EQ(f.imgBackground->Picture().Height(), 400);
#endif

  struct TLabelRow {
    forms::TLabel* Label;
    int Left, Top, Width;
    rtl::StringView Caption;
  };
  for (const TLabelRow& row : {TLabelRow{f.lblPharm, 215, 168, 313, kC2}, TLabelRow{f.lblLoranta, 215, 305, 276, kC3},
                               TLabelRow{f.lblNereval, 215, 43, 273, kC1}}) {
    SCOPED_TRACE(rtl::StringToUtf8(row.Label->Name()));
    EXPECT_EQ(row.Label->Caption(), row.Caption);
    EXPECT_EQ(row.Label->Left(), row.Left);
    EXPECT_EQ(row.Label->Top(), row.Top);
    EXPECT_EQ(row.Label->Width(), row.Width);  // wrapped at its width: only the height follows the text
    EXPECT_TRUE(row.Label->WordWrap());
    EXPECT_TRUE(row.Label->AutoSize());
    EXPECT_TRUE(row.Label->Transparent());
    EXPECT_EQ(row.Label->Font().Desc(), (forms::TFontDesc{u"Tahoma", 16, true}));
    EXPECT_EQ(row.Label->Font().Color(), forms::clWindowText);
    EXPECT_GT(row.Label->Height(), 16);
  }
  // The captions' Latin letters i where the texts have them.
  EXPECT_NE(f.Caption().find(u"Презентацiйнi"), rtl::String::npos);
  EXPECT_EQ(f.Caption().find(u'і'), rtl::String::npos);
  EXPECT_NE(kC1.find(u"дослiдження"), rtl::StringView::npos);

  for (auto [button, top, height] : {std::tuple{f.btnPharm, 41, 62}, std::tuple{f.btnNereval, 167, 61},
                                     std::tuple{f.btnLoranta, 292, 62}}) {
    SCOPED_TRACE(rtl::StringToUtf8(button->Name()));
    EXPECT_EQ(button->BoundsRect(), forms::Bounds(0, top, 585, height));
    EXPECT_TRUE(button->Flat());
    EXPECT_TRUE(button->Caption().empty());
    EXPECT_EQ(button->Cursor(), forms::crHandPoint);
  }
}

// Each band's button covers the caption in it, so a click on the text reaches the
// action that matches the text.
TEST_F(FormAdditionalTest, EachBandRunsTheActionOfItsCaption) {
  TFormAdditional& f = Open();
  struct TBand {
    forms::TLabel* Caption;
    forms::TSpeedButton* Button;
  };
  for (const TBand& band : {TBand{f.lblNereval, f.btnPharm}, TBand{f.lblPharm, f.btnNereval},
                            TBand{f.lblLoranta, f.btnLoranta}}) {
    const forms::TRect text = band.Caption->BoundsRect();
    EXPECT_EQ(text.Intersect(band.Button->BoundsRect()), text) << rtl::StringToUtf8(band.Caption->Name());
    for (TPoint p : {TPoint{text.Left, text.Top}, CentreOf(*band.Caption), TPoint{text.Right - 1, text.Bottom - 1}})
      EXPECT_EQ(f.ControlAtPos(p), band.Button);
  }

  // Top band, on the text of C1: the slide show, maximised.
  ClickAt(f, CentreOf(*f.lblNereval));
  ASSERT_EQ(ShellCalls().size(), 1u);
  EXPECT_EQ(ShellCalls()[0].Verb, u"open");
  EXPECT_EQ(ShellCalls()[0].File, u"..\\etc\\nereval.pps");
  EXPECT_FALSE(ShellCalls()[0].Parameters.has_value());
  EXPECT_FALSE(ShellCalls()[0].Directory.has_value());
  EXPECT_EQ(ShellCalls()[0].ShowCmd, 3);  // SW_SHOWMAXIMIZED
  EXPECT_TRUE(ProcessCalls().empty());

  // Bottom band: the video, maximised.
  ClickAt(f, CentreOf(*f.lblLoranta));
  ASSERT_EQ(ShellCalls().size(), 2u);
  EXPECT_EQ(ShellCalls()[1].File, u"..\\etc\\pk_loranta.wmv");
  EXPECT_EQ(ShellCalls()[1].ShowCmd, 3);
  EXPECT_FALSE(ShellCalls()[1].Parameters.has_value());

  // Middle band, twice: the reader is started twice, by command line.
  ClickAt(f, CentreOf(*f.lblPharm));
  ClickAt(f, TPoint{5, 170});
  ASSERT_EQ(ProcessCalls().size(), 2u);
  for (const auto& call : ProcessCalls()) {
    EXPECT_EQ(call.CommandLine, u"FoxitReader.exe ..\\etc\\Brevlo2010.pdf");
    EXPECT_EQ(call.Startup.ShowWindow, 1);  // SW_SHOWNORMAL
  }
  EXPECT_EQ(Platform.Processes().Waits().size(), 2u);  // until the reader is ready
  EXPECT_EQ(ShellCalls().size(), 2u);

  // The rightmost 16 pixels and the gaps between the bands open nothing.
  ClickAt(f, TPoint{590, 70});
  ClickAt(f, TPoint{100, 130});
  EXPECT_EQ(ShellCalls().size(), 2u);
  EXPECT_EQ(ProcessCalls().size(), 2u);

  // After every action the window stays, and a failed start shows nothing.
  Platform.Processes().Succeeds = [](const rtl::String&) { return false; };
  Platform.Shell().Result = 2;
  ClickAt(f, CentreOf(*f.btnNereval));
  ClickAt(f, CentreOf(*f.btnPharm));
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(Main->OwnedFormCount(), 1);
  EXPECT_TRUE(Widgetset.Boxes().empty());
}

TEST_F(FormAdditionalTest, FlatButtonsDrawOnlyUnderThePointer) {
  TFormAdditional& f = Open();
  headless::THeadlessWindow& w = WindowOf(f);
  auto frames = [&] {
    std::vector<forms::headless::TDrawOp> result;
    for (const auto& op : Widgetset.Paint(w))
      if (op.Kind == forms::headless::TDrawOp::opFrame) result.push_back(op);
    return result;
  };
  EXPECT_TRUE(frames().empty());
  // Captions are drawn over the background, in the designed order.
  std::vector<rtl::String> texts;
  for (const auto& op : Widgetset.LastPaint())
    if (op.Kind == forms::headless::TDrawOp::opText) texts.push_back(op.Text);
  EXPECT_EQ(texts, (std::vector<rtl::String>{rtl::String(kC2), rtl::String(kC3), rtl::String(kC1)}));

  Widgetset.MovePointer(w, CentreOf(*f.lblPharm));
  auto hot = frames();
  ASSERT_EQ(hot.size(), 1u);
  EXPECT_EQ(hot[0].Rect, f.btnNereval->BoundsRect());
  EXPECT_EQ(hot[0].FrameState, forms::bfHot);
  EXPECT_EQ(w.Cursor(), forms::crHandPoint);

  Widgetset.PointerDown(w, CentreOf(*f.lblPharm));
  auto down = frames();
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(down[0].FrameState, forms::bfDown);
  Widgetset.PointerUp(w, CentreOf(*f.lblPharm));
  Widgetset.DrainPosted();

  Widgetset.MovePointer(w, TPoint{595, 200});
  EXPECT_TRUE(frames().empty());
  EXPECT_EQ(w.Cursor(), forms::crDefault);
}

TEST_F(FormAdditionalTest, EscapeReleasedClosesAndFreesTheWindow) {
  TFormAdditional& f = Open();
  headless::THeadlessWindow& w = WindowOf(f);
  Widgetset.KeyDown(w, forms::VK_ESCAPE);
  Widgetset.KeyUp(w, forms::VK_ESCAPE, forms::ssShift);  // with a modifier held too
  Widgetset.DrainPosted();
  EXPECT_EQ(Main->OwnedFormCount(), 0);
  EXPECT_EQ(Widgetset.Destroyed(), (std::vector<rtl::String>{rtl::String(kCaption)}));
  EXPECT_FALSE(App->Terminated());
}

// Other keys, and Escape pressed but not released, do nothing.
TEST_F(FormAdditionalTest, OtherKeysLeaveTheWindowOpen) {
  TFormAdditional& f = Open();
  headless::THeadlessWindow& w = WindowOf(f);
  for (forms::TKey key : {forms::VK_RETURN, forms::VK_SPACE, forms::TKey{'A'}, forms::VK_F1, forms::VK_BACK}) {
    Widgetset.PressKey(w, key);
    Widgetset.DrainPosted();
  }
  Widgetset.KeyDown(w, forms::VK_ESCAPE);
  Widgetset.DrainPosted();
  EXPECT_EQ(Main->OwnedFormCount(), 1);
  EXPECT_TRUE(f.Visible());
}

TEST_F(FormAdditionalTest, CloseButtonFreesTheWindowNotHidesIt) {
  TFormAdditional& f = Open();
  forms::TCloseAction action = forms::caHide;
  f.FormClose(&f, action);
  EXPECT_EQ(action, forms::caFree);
  Widgetset.RequestClose(WindowOf(f));
  Widgetset.DrainPosted();
  EXPECT_EQ(Main->OwnedFormCount(), 0);
  EXPECT_EQ(Widgetset.Windows().size(), 1u);
  // The next click makes a new one.
  Open();
  EXPECT_EQ(Main->OwnedFormCount(), 1);
}

// Every click on the main window's picture opens another window, not modal.
TEST_F(FormAdditionalTest, EveryClickOpensAnotherOwnedWindow) {
  Main->imgAdditional->Show();
  headless::THeadlessWindow& mainWindow = WindowOf(*Main);
  const TPoint onPicture = CentreOf(*Main->imgAdditional);
  ASSERT_EQ(Main->ControlAtPos(onPicture), Main->imgAdditional);
  ClickAt(*Main, onPicture);
  ClickAt(*Main, onPicture);
  ASSERT_EQ(Main->OwnedFormCount(), 2);
  EXPECT_NE(&Main->OwnedForms(0), &Main->OwnedForms(1));
  for (int i = 0; i < 2; ++i) {
    auto& f = dynamic_cast<TFormAdditional&>(Main->OwnedForms(i));
    EXPECT_TRUE(f.Visible());
    EXPECT_EQ(WindowOf(f).Params().Owner, Main->Handle());
  }
  // Not modal: the main window still takes input.
  EXPECT_TRUE(mainWindow.Enabled());
  EXPECT_FALSE(App->ModalActive());
  ClickAt(*Main, onPicture);
  EXPECT_EQ(Main->OwnedFormCount(), 3);
}

TEST_F(FormAdditionalTest, ClosingTheMainWindowDestroysEveryPresentationsWindow) {
  Open();
  Open();
  Widgetset.RequestClose(WindowOf(*Main));
  Widgetset.DrainPosted();
  EXPECT_TRUE(App->Terminated());
  App.reset();  // the loop has ended: the framework destroys the windows
  const std::vector<rtl::String>& destroyed = Widgetset.Destroyed();
  ASSERT_EQ(destroyed.size(), 3u);
  // The presentations windows go first, then their owner.
  EXPECT_EQ(destroyed[0], kCaption);
  EXPECT_EQ(destroyed[1], kCaption);
  EXPECT_EQ(destroyed[2], u"Квиллбокс «ЛОРАНТА». ПО к «Еженедельнику ЛОРАНТА».");
  EXPECT_TRUE(Widgetset.Windows().empty());
}

}  // namespace
}  // namespace qor::testing
