// The model's policy: handler exceptions at the trampolines, boxes disabling every
// form, pressed and hover state, closing through the loop, ownership.
#include <stdexcept>

#include "forms_fixture.h"

namespace qor::forms::testing {
namespace {

using headless::THeadlessWindow;

constexpr TPoint kOnPicture{110, 110};  // picture only
constexpr TPoint kOnCaption{155, 125};  // caption over the picture
constexpr TPoint kOnButton{310, 310};   // flat button (a hidden image lies over it)
constexpr TPoint kOnBack{10, 10};       // background only

struct ErrorTextCase {
  const char16_t* Message;
  const char16_t* Shown;
};

class ErrorBoxTest : public FormsTest, public ::testing::WithParamInterface<ErrorTextCase> {};

TEST_P(ErrorBoxTest, HandlerExceptionShowsTheDefaultErrorBoxAndLeavesTheWindow) {
  auto& form = App.CreateForm<TTestForm>();
  form.SetCaption(u"Main");
  int clicks = 0;
  form.Picture().OnClick = [&](TObject*) {
    ++clicks;
    throw rtl::EConvertError(GetParam().Message);
  };
  form.Show();
  THeadlessWindow& w = Win(form);

  Ws.Click(w, kOnPicture);

  ASSERT_EQ(Ws.Boxes().size(), 1u);
  const TBoxRequest& box = Ws.Boxes()[0].Request;
  EXPECT_EQ(box.Text, GetParam().Shown);
  EXPECT_EQ(box.Caption, u"nol_cdrun");  // the program file's name without extension
  EXPECT_EQ(box.Icon, TBoxIcon::Error);
  ASSERT_EQ(box.Buttons.size(), 1u);
  EXPECT_EQ(box.Buttons[0].Caption, u"OK");
  EXPECT_EQ(box.Owner, &w);
  // The window is as it was: shown, enabled, nothing pressed, nothing pending.
  EXPECT_TRUE(w.Visible());
  EXPECT_TRUE(w.Enabled());
  EXPECT_EQ(w.Caption(), u"Main");
  EXPECT_EQ(form.PressedControl(), nullptr);
  Ws.DrainPosted();
  EXPECT_FALSE(Ws.QuitRequested());
  Ws.Click(w, kOnPicture);
  EXPECT_EQ(clicks, 2);
}

INSTANTIATE_TEST_SUITE_P(FullStopRule, ErrorBoxTest,
                         ::testing::Values(ErrorTextCase{u"''4a'' is not a valid integer value",
                                                         u"''4a'' is not a valid integer value."},
                                           // A closing quote is below '.': nothing is appended.
                                           ErrorTextCase{u"Invalid data type for 'VersionFDB'",
                                                         u"Invalid data type for 'VersionFDB'"},
                                           ErrorTextCase{u"Ends in a digit 5", u"Ends in a digit 5."},
                                           ErrorTextCase{u"Already ends.", u"Already ends."},
                                           ErrorTextCase{u"Ends in a bang!", u"Ends in a bang!"},
                                           ErrorTextCase{u"Ends in a dash -", u"Ends in a dash -"},
                                           ErrorTextCase{u"Кириллица", u"Кириллица."},
                                           ErrorTextCase{u"", u""}));

TEST_F(FormsTest, ExceptionsFromEveryEntryAreShown) {
  auto& form = App.CreateForm<TTestForm>();
  form.OnKeyUp = [](TObject*, TKey&, TShiftState) { throw std::runtime_error("key failed"); };
  form.OnClose = [](TObject*, TCloseAction&) { throw 42; };
  form.Show();
  THeadlessWindow& w = Win(form);

  Ws.PressKey(w, VK_ESCAPE);
  form.Close();  // OnClose runs from the loop
  Ws.DrainPosted();
  App.Post([] { throw rtl::EListError(u"posted failed"); });
  Ws.DrainPosted();

  ASSERT_EQ(Ws.Boxes().size(), 3u);
  EXPECT_EQ(Ws.Boxes()[0].Request.Text, u"key failed.");
  EXPECT_EQ(Ws.Boxes()[1].Request.Text, u"Unknown exception.");
  EXPECT_EQ(Ws.Boxes()[2].Request.Text, u"posted failed.");
  // A failing OnClose leaves the form open and the loop running.
  EXPECT_TRUE(form.Visible());
  EXPECT_FALSE(Ws.QuitRequested());
}

TEST_F(FormsTest, EveryFormIsDisabledWhileABoxIsOpenAndTakesNoInput) {
  auto& main = App.CreateForm<TTestForm>();
  main.Show();
  auto& tool = main.CreateOwnedForm<TTestForm>();
  tool.Show();
  int clicks = 0;
  main.Picture().OnClick = [&](TObject*) { ++clicks; };
  Ws.BoxAnswerer = [&](const TBoxRequest&) {
    EXPECT_FALSE(Win(main).Enabled());
    EXPECT_FALSE(Win(tool).Enabled());
    EXPECT_TRUE(App.ModalActive());
    // Whatever the toolkit still delivers is ignored.
    Ws.Click(Win(main), kOnPicture);
    Ws.PressKey(Win(main), VK_ESCAPE);
    return IDNO;
  };

  EXPECT_EQ(App.MessageBox(u"Text", u"Warning", MB_YESNO | MB_ICONWARNING), IDNO);

  EXPECT_EQ(clicks, 0);
  ASSERT_EQ(Ws.Boxes().size(), 1u);
  EXPECT_EQ(Ws.Boxes()[0].WindowsEnabled, (std::vector<bool>{false, false}));
  EXPECT_TRUE(Win(main).Enabled());
  EXPECT_TRUE(Win(tool).Enabled());
  EXPECT_FALSE(App.ModalActive());
}

TEST_F(FormsTest, NestedBoxesReEnableOnlyWhenTheLastCloses) {
  auto& main = App.CreateForm<TTestForm>();
  main.Show();
  bool inner = false;
  Ws.BoxAnswerer = [&](const TBoxRequest&) {
    if (!inner) {
      inner = true;
      App.MessageBox(u"inner", u"Information", MB_OK | MB_ICONINFORMATION);
      EXPECT_FALSE(Win(main).Enabled());
    }
    return IDOK;
  };
  App.MessageBox(u"outer", u"Information", MB_OK);
  EXPECT_TRUE(Win(main).Enabled());
}

TEST_F(FormsTest, PressedStateIsClearedBeforeTheClickHandler) {
  auto& form = App.CreateForm<TTestForm>();
  form.Show();
  THeadlessWindow& w = Win(form);
  TControl* pressedInHandler = &form.Back();
  form.Button().OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, &form.Button());
    pressedInHandler = form.PressedControl();
  };
  Ws.MovePointer(w, kOnButton);
  Ws.PointerDown(w, kOnButton);
  EXPECT_EQ(form.PressedControl(), &form.Button());
  Ws.PointerUp(w, kOnButton);
  EXPECT_EQ(pressedInHandler, nullptr);
}

TEST_F(FormsTest, ReleasingOutsideThePressedControlDoesNotClick) {
  auto& form = App.CreateForm<TTestForm>();
  form.Show();
  THeadlessWindow& w = Win(form);
  int clicks = 0, pictureClicks = 0;
  form.Button().OnClick = [&](TObject*) { ++clicks; };
  form.Picture().OnClick = [&](TObject*) { ++pictureClicks; };
  Ws.PointerDown(w, kOnButton);
  Ws.MovePointer(w, kOnPicture);
  Ws.PointerUp(w, kOnPicture);
  Ws.PointerDown(w, kOnButton, mbRight);
  Ws.PointerUp(w, kOnButton, mbRight);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(pictureClicks, 0);
}

TEST_F(FormsTest, HoverPressedAndCursorAreResynchronisedAfterABox) {
  auto& form = App.CreateForm<TTestForm>();
  form.Show();
  THeadlessWindow& w = Win(form);
  form.Button().OnClick = [&](TObject*) {
    // The user moves the pointer off the button while the box is open.
    Ws.BoxAnswerer = [&](const TBoxRequest&) {
      w.SetPointer(kOnBack);
      return IDOK;
    };
    App.MessageBox(u"Text", u"Information", MB_OK | MB_ICONINFORMATION);
  };
  Ws.Click(w, kOnButton);
  EXPECT_EQ(form.HotControl(), &form.Back());
  EXPECT_EQ(form.PressedControl(), nullptr);
  EXPECT_EQ(w.Cursor(), crDefault);

  // Back over the button with a box opened from a key: hover comes back too.
  form.OnKeyUp = [&](TObject*, TKey&, TShiftState) {
    Ws.BoxAnswerer = [&](const TBoxRequest&) {
      w.SetPointer(kOnButton);
      return IDOK;
    };
    App.MessageBox(u"Text", u"Information", MB_OK);
  };
  Ws.PressKey(w, 'A');
  EXPECT_EQ(form.HotControl(), &form.Button());
  EXPECT_EQ(w.Cursor(), crHandPoint);
}

TEST_F(FormsTest, BoxesGoOverTheActiveFormWithTheirExactTexts) {
  auto& main = App.CreateForm<TTestForm>();
  main.Show();
  auto& tool = main.CreateOwnedForm<TTestForm>();
  tool.Show();
  tool.Button().OnClick = [&](TObject*) {
    EXPECT_EQ(App.MessageBox(u"Первая\r\nВторая", u"Warning", MB_YESNO | MB_ICONWARNING), IDYES);
  };
  Ws.Click(Win(tool), kOnButton);
  App.MessageBox(u"No form's event", u"Information", MB_OK | MB_ICONINFORMATION);

  ASSERT_EQ(Ws.Boxes().size(), 2u);
  const TBoxRequest& warning = Ws.Boxes()[0].Request;
  EXPECT_EQ(warning.Owner, &Win(tool));
  EXPECT_EQ(warning.Text, u"Первая\r\nВторая");
  EXPECT_EQ(warning.Caption, u"Warning");
  EXPECT_EQ(warning.Icon, TBoxIcon::Warning);
  EXPECT_EQ(Ws.Boxes()[1].Request.Owner, &Win(main));  // outside events: the main form
}

// ---- closing

TEST_F(FormsTest, ClosingTheMainFormGoesThroughTheLoopAndEndsIt) {
  auto& form = App.CreateForm<TTestForm>();
  int closes = 0;
  form.OnClose = [&](TObject* sender, TCloseAction& action) {
    EXPECT_EQ(sender, &form);
    EXPECT_EQ(action, caHide);
    ++closes;
  };
  form.Button().OnClick = [&](TObject*) {
    form.Close();
    EXPECT_EQ(closes, 0);  // not inside the handler
  };
  form.Show();
  Ws.Click(Win(form), kOnButton);
  EXPECT_EQ(closes, 0);
  EXPECT_FALSE(Ws.QuitRequested());
  Ws.DrainPosted();
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(Ws.QuitRequested());
  EXPECT_TRUE(App.Terminated());
}

TEST_F(FormsTest, CloseActionNoneKeepsTheFormAndTheLoop) {
  auto& form = App.CreateForm<TTestForm>();
  form.OnClose = [](TObject*, TCloseAction& action) { action = caNone; };
  form.Show();
  Ws.RequestClose(Win(form));  // the title bar's close button
  Ws.DrainPosted();
  EXPECT_FALSE(Ws.QuitRequested());
  EXPECT_TRUE(Win(form).Visible());
}

TEST_F(FormsTest, OwnedFormHidesOrFreesOnClose) {
  auto& main = App.CreateForm<TTestForm>();
  main.Show();
  auto& hidden = main.CreateOwnedForm<TTestForm>();
  hidden.SetCaption(u"hidden");
  hidden.Show();
  auto& freed = main.CreateOwnedForm<TTestForm>();
  freed.SetCaption(u"freed");
  freed.OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  // The form closes itself from its own handler and is destroyed afterwards.
  freed.Button().OnClick = [&](TObject*) { freed.Close(); };
  freed.Show();

  hidden.Close();
  Ws.Click(Win(freed), kOnButton);
  Ws.DrainPosted();

  EXPECT_FALSE(Ws.QuitRequested());
  ASSERT_EQ(main.OwnedFormCount(), 1);
  EXPECT_EQ(&main.OwnedForms(0), &hidden);
  EXPECT_FALSE(Win(hidden).Visible());
  EXPECT_EQ(Ws.Destroyed(), (std::vector<rtl::String>{u"freed"}));
  EXPECT_TRUE(Win(main).Visible());
}

TEST_F(FormsTest, OwnedFormsAreDestroyedBeforeTheirOwner) {
  auto app = std::make_unique<TApplication>(Ws);
  auto make = [](TForm& form, const char16_t* caption) -> TForm& {
    form.SetCaption(caption);
    form.Show();
    return form;
  };
  auto& main = make(app->CreateForm<TTestForm>(), u"main");
  auto& first = make(main.CreateOwnedForm<TTestForm>(), u"first");
  make(first.CreateOwnedForm<TTestForm>(), u"nested");
  make(main.CreateOwnedForm<TTestForm>(), u"second");
  // Closing the main form ends the loop; the application then destroys the forms.
  main.Close();
  Ws.DrainPosted();
  ASSERT_TRUE(Ws.QuitRequested());
  EXPECT_TRUE(Ws.Destroyed().empty());
  app.reset();
  EXPECT_EQ(Ws.Destroyed(), (std::vector<rtl::String>{u"second", u"nested", u"first", u"main"}));
}

TEST_F(FormsTest, ReleasingAnOwnerDestroysItsOwnedFormsFirst) {
  auto& main = App.CreateForm<TTestForm>();
  main.Show();
  auto& owner = main.CreateOwnedForm<TTestForm>();
  owner.SetCaption(u"owner");
  owner.Show();
  auto& owned = owner.CreateOwnedForm<TTestForm>();
  owned.SetCaption(u"owned");
  owned.Show();
  owner.Release();
  EXPECT_TRUE(Ws.Destroyed().empty());
  Ws.DrainPosted();
  EXPECT_EQ(Ws.Destroyed(), (std::vector<rtl::String>{u"owned", u"owner"}));
  EXPECT_FALSE(Ws.QuitRequested());
}

TEST_F(FormsTest, ClosePostedForAFormDestroyedMeanwhileDoesNothing) {
  auto& main = App.CreateForm<TTestForm>();
  main.Show();
  auto& tool = main.CreateOwnedForm<TTestForm>();
  int closes = 0;
  tool.OnClose = [&](TObject*, TCloseAction&) { ++closes; };
  tool.Show();
  tool.Release();
  tool.Close();
  Ws.DrainPosted();
  EXPECT_EQ(closes, 0);
}

TEST_F(FormsTest, RunShowsTheMainFormAndReturnsWhenItCloses) {
  auto& form = App.CreateForm<TTestForm>();
  form.SetCaption(u"Main");
  EXPECT_EQ(form.Handle(), nullptr);  // no window before the loop
  form.OnShow = [&](TObject*) { form.Close(); };
  App.Run();
  ASSERT_NE(form.Handle(), nullptr);
  EXPECT_EQ(Win(form).ShowCount(), 1);
  EXPECT_EQ(Win(form).Params().Placement, TWindowPlacement::ScreenCenter);
  EXPECT_EQ(Win(form).Params().ClientWidth, 887);
  EXPECT_EQ(Win(form).Params().ClientHeight, 591);
  EXPECT_TRUE(Win(form).Params().TaskbarButton);
  EXPECT_TRUE(Ws.QuitRequested());
}

TEST_F(FormsTest, OwnedToolWindowParameters) {
  auto& main = App.CreateForm<TTestForm>();
  main.Show();
  auto& tool = main.CreateOwnedForm<TTestForm>();
  tool.Show();
  const TWindowParams& p = Win(tool).Params();
  EXPECT_EQ(p.Kind, TWindowKind::Tool);
  EXPECT_EQ(p.Owner, main.Handle());
  EXPECT_EQ(p.Placement, TWindowPlacement::OwnerCenter);
  EXPECT_FALSE(p.TaskbarButton);
}

TEST_F(FormsTest, AFailingAfterConstructionDestroysTheForm) {
  struct TFailing : TTestForm {
    using TTestForm::TTestForm;
    void AfterConstruction() override { throw rtl::EInvalidOperation(u"no"); }
  };
  EXPECT_THROW(App.CreateForm<TFailing>(), rtl::EInvalidOperation);
  EXPECT_EQ(App.MainForm(), nullptr);
  EXPECT_EQ(App.FormCount(), 0);
}

// ---- hit testing, z-order, cursor, keys

TEST_F(FormsTest, ClicksReachTheTopmostVisibleControl) {
  auto& form = App.CreateForm<TTestForm>();
  form.Show();
  THeadlessWindow& w = Win(form);
  std::vector<TObject*> clicked;
  TNotifyEvent record = [&](TObject* sender) { clicked.push_back(sender); };
  form.Picture().OnClick = record;
  form.Caption1().OnClick = record;
  form.Button().OnClick = record;
  form.Hidden().OnClick = record;

  Ws.Click(w, kOnCaption);  // the caption lies over the picture
  Ws.Click(w, kOnPicture);
  Ws.Click(w, kOnButton);   // the hidden image over the button is skipped
  form.Picture().BringToFront();
  Ws.Click(w, kOnCaption);  // now the picture is on top
  form.Hidden().Show();
  Ws.Click(w, kOnButton);

  EXPECT_EQ(clicked, (std::vector<TObject*>{&form.Caption1(), &form.Picture(), &form.Button(), &form.Picture(),
                                            &form.Hidden()}));
  EXPECT_EQ(form.ControlAtPos(TPoint{886, 590}), &form.Back());
  EXPECT_EQ(form.ControlAtPos(TPoint{887, 591}), nullptr);
}

TEST_F(FormsTest, BringToFrontMovesToTheEndOfTheOrder) {
  auto& form = App.CreateForm<TTestForm>();
  form.Back().BringToFront();
  form.Caption1().BringToFront();
  std::vector<rtl::String> names;
  for (int i = 0; i < form.ControlCount(); ++i) names.push_back(form.Controls(i).Name());
  EXPECT_EQ(names, (std::vector<rtl::String>{u"imgPicture", u"btnFlat", u"imgHidden", u"imgBack", u"lblCaption"}));
  form.Back().SendToBack();
  EXPECT_EQ(form.Controls(0).Name(), u"imgBack");
}

TEST_F(FormsTest, TheCursorIsThatOfTheTopmostControlUnderThePointer) {
  auto& form = App.CreateForm<TTestForm>();
  form.Show();
  THeadlessWindow& w = Win(form);
  Ws.MovePointer(w, kOnPicture);
  EXPECT_EQ(w.Cursor(), crHandPoint);
  Ws.MovePointer(w, kOnCaption);  // the caption has the default cursor
  EXPECT_EQ(w.Cursor(), crDefault);
  form.Caption1().SetCursor(crHandPoint);
  EXPECT_EQ(w.Cursor(), crHandPoint);
  Ws.MovePointer(w, kOnBack);
  EXPECT_EQ(w.Cursor(), crDefault);
  Ws.MovePointer(w, kOnButton);
  EXPECT_EQ(w.Cursor(), crHandPoint);
  form.Button().Hide();  // hiding the control under the pointer updates at once
  EXPECT_EQ(w.Cursor(), crDefault);
  Ws.LeaveWindow(w);
  EXPECT_EQ(form.HotControl(), nullptr);
}

TEST_F(FormsTest, KeysArriveAsVirtualKeyCodesWithTheShiftState) {
  auto& form = App.CreateForm<TTestForm>();
  std::vector<std::pair<TKey, std::uint8_t>> ups, downs;
  form.OnKeyDown = [&](TObject*, TKey& key, TShiftState shift) { downs.emplace_back(key, shift.Bits()); };
  form.OnKeyUp = [&](TObject* sender, TKey& key, TShiftState shift) {
    EXPECT_EQ(sender, &form);
    ups.emplace_back(key, shift.Bits());
    if (key == VK_ESCAPE) form.Close();
  };
  form.Show();
  Ws.PressKey(Win(form), 'C', ssCtrl | ssShift);
  Ws.PressKey(Win(form), VK_ESCAPE);
  EXPECT_EQ(downs.size(), 2u);
  ASSERT_EQ(ups.size(), 2u);
  EXPECT_EQ(ups[0].first, 'C');
  EXPECT_EQ(ups[0].second, (ssCtrl | ssShift).Bits());
  EXPECT_EQ(ups[1].first, VK_ESCAPE);
  Ws.DrainPosted();
  EXPECT_TRUE(Ws.QuitRequested());
}

}  // namespace
}  // namespace qor::forms::testing
