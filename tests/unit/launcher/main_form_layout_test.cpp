// Construction of the main window: the layout table, the two layouts, the probes
// that choose them, the background picture.
#include <algorithm>
#include <vector>

#include "assets/nol_assets.h"
#include "main_form_fixture.h"

namespace qor::testing {
namespace {

using forms::TRect;
using headless::TDrawOp;

struct TExpectedControl {
  const char16_t* Name;
  TRect Bounds;
  bool Visible;
};

// Creation order and geometry; the pictures size themselves to the assets, and
// the labels to their text (so only their origin is fixed).
TEST_F(MainFormTest, ControlsFollowTheLayoutTableInOrder) {
  Install();
  Create();
  const std::vector<TExpectedControl> expected = {
      {u"Image1", forms::Bounds(0, 0, 887, 591), true},      {u"Image2", forms::Bounds(693, 102, 116, 84), true},
      {u"Image3", forms::Bounds(609, 220, 118, 82), true},   {u"Image4", forms::Bounds(609, 308, 92, 79), false},
      {u"Image5", forms::Bounds(593, 478, 136, 94), true},   {u"Image6", forms::Bounds(609, 350, 77, 79), true},
      {u"imgAdditional", forms::Bounds(692, 8, 187, 65), false},
  };
  // The labels were moved to the end, in the order Label1 to Label4.
  const std::vector<rtl::String> order = {u"Image1", u"Image2", u"Image3", u"Image4", u"Image5", u"Image6",
                                          u"imgAdditional", u"Label1", u"Label2", u"Label3", u"Label4"};
  ASSERT_EQ(Form->ControlCount(), 11);
  for (int i = 0; i < Form->ControlCount(); ++i) EXPECT_EQ(Form->Controls(i).Name(), order[i]) << i;
  for (const auto& e : expected) {
    auto& image = Form->Control<forms::TImage>(e.Name);
    EXPECT_EQ(image.BoundsRect(), e.Bounds) << rtl::StringToUtf8(e.Name);
    EXPECT_EQ(image.Visible(), e.Visible) << rtl::StringToUtf8(e.Name);
    if (image.Name() != u"Image1") {
      EXPECT_EQ(image.Cursor(), forms::crHandPoint) << rtl::StringToUtf8(e.Name);
      EXPECT_FALSE(image.Picture().Empty()) << rtl::StringToUtf8(e.Name);
    }
  }
  EXPECT_TRUE(Form->imgAdditional->Stretch());
  EXPECT_EQ(Form->imgAdditional->Picture().Width(), 1336);
  EXPECT_EQ(Form->imgAdditional->Picture().Height(), 466);

  struct TLabelOrigin {
    forms::TLabel* Label;
    int Left, Top;
    const char16_t* Caption;
    bool Visible;
  };
  for (const auto& l : std::vector<TLabelOrigin>{{Form->Label1, 704, 244, u"Описание", true},
                                                 {Form->Label2, 704, 331, u"Переустановка", false},
                                                 {Form->Label3, 704, 511, u"Выход", true},
                                                 {Form->Label4, 704, 368, u"Запуск/Обновление", true}}) {
    EXPECT_EQ(l.Label->Left(), l.Left);
    EXPECT_EQ(l.Label->Top(), l.Top);
    EXPECT_EQ(l.Label->Caption(), l.Caption);
    EXPECT_EQ(l.Label->Visible(), l.Visible);
    EXPECT_TRUE(l.Label->Transparent());
    EXPECT_EQ(l.Label->Cursor(), forms::crHandPoint);
    EXPECT_EQ(l.Label->Font().Desc(), (forms::TFontDesc{u"Tahoma", 16, true}));
    EXPECT_EQ(l.Label->Font().Color(), forms::RGB(1, 113, 54));
  }
}

TEST_F(MainFormTest, WindowIsWhiteFixedAndCaptioned) {
  Create();
  EXPECT_EQ(Form->Caption(), u"Квиллбокс «ЛОРАНТА». ПО к «Еженедельнику ЛОРАНТА».");
  EXPECT_EQ(Form->Color(), forms::clWhite);
  const forms::TWindowParams& params = Window().Params();
  EXPECT_EQ(params.Kind, forms::TWindowKind::Main);
  EXPECT_EQ(params.ClientWidth, 887);
  EXPECT_EQ(params.ClientHeight, 591);
  EXPECT_EQ(params.Placement, forms::TWindowPlacement::ScreenCenter);
  EXPECT_TRUE(params.TaskbarButton);
  EXPECT_EQ(Form->Icon().Width(), 32);
  EXPECT_EQ(Form->Icon().Height(), 32);
}

TEST_F(MainFormTest, NotInstalledLayoutHidesLaunchUpdate) {
  Create();
  EXPECT_FALSE(Form->Image6->Visible());
  EXPECT_FALSE(Form->Label4->Visible());
  EXPECT_EQ(Form->Label2->Caption(), u"Установка");
  // Brochure, Description and Exit are all that show.
  for (forms::TControl* c : {static_cast<forms::TControl*>(Form->Image2), static_cast<forms::TControl*>(Form->Image3),
                             static_cast<forms::TControl*>(Form->Label1), static_cast<forms::TControl*>(Form->Image5),
                             static_cast<forms::TControl*>(Form->Label3)})
    EXPECT_TRUE(c->Visible()) << rtl::StringToUtf8(c->Name());
  EXPECT_FALSE(Form->Image4->Visible());
  EXPECT_FALSE(Form->Label2->Visible());
  EXPECT_FALSE(Form->imgAdditional->Visible());
}

// An entry under either root at either key gives the installed layout.
TEST_F(MainFormTest, InstalledLayoutForEveryRootAndKey) {
  for (auto root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    for (auto key : {kUninstallKey1, kUninstallKey2}) {
      SCOPED_TRACE(rtl::StringToUtf8(key));
      Platform.Registry().Clear();
      Install(root, key);
      Create();
      EXPECT_TRUE(Form->Image6->Visible());
      EXPECT_TRUE(Form->Label4->Visible());
      EXPECT_EQ(Form->Label2->Caption(), u"Переустановка");
      EXPECT_FALSE(Form->Label2->Visible());
      EXPECT_EQ(Form->GetInstallRegKey(), rtl::String(key));
      App.reset();
    }
  }
}

TEST_F(MainFormTest, InstallRegKeyProbesInItsOrder) {
  using platform::TRegRoot;
  struct TCase {
    std::vector<std::pair<TRegRoot, rtl::StringView>> Entries;
    rtl::StringView Expected;
  };
  const std::vector<TCase> cases = {
      {{}, kUninstallKey1},
      {{{HKEY_CURRENT_USER, kUninstallKey2}}, kUninstallKey2},
      {{{HKEY_LOCAL_MACHINE, kUninstallKey1}, {HKEY_CURRENT_USER, kUninstallKey2}}, kUninstallKey1},
      {{{HKEY_LOCAL_MACHINE, kUninstallKey2}, {HKEY_CURRENT_USER, kUninstallKey1}}, kUninstallKey1},
      {{{HKEY_LOCAL_MACHINE, kUninstallKey2}}, kUninstallKey2},
  };
  for (const auto& c : cases) {
    Platform.Registry().Clear();
    for (const auto& [root, key] : c.Entries) Install(root, key);
    Create();
    EXPECT_EQ(Form->GetInstallRegKey(), rtl::String(c.Expected)) << c.Entries.size();
    App.reset();
  }

  // With nothing registered: the four probes, then IsInstalled per user, then per
  // machine; every key closed again; no mutex probed at construction.
  Platform.Registry().Clear();
  const std::size_t before = Platform.Registry().Opens().size();
  Create();
  const auto& opens = Platform.Registry().Opens();
  const std::vector<std::pair<TRegRoot, rtl::StringView>> expected = {
      {HKEY_LOCAL_MACHINE, kUninstallKey1}, {HKEY_CURRENT_USER, kUninstallKey1},
      {HKEY_CURRENT_USER, kUninstallKey2},  {HKEY_LOCAL_MACHINE, kUninstallKey2},
      {HKEY_CURRENT_USER, kUninstallKey1},  {HKEY_LOCAL_MACHINE, kUninstallKey1}};
  ASSERT_EQ(opens.size() - before, expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(opens[before + i].Root, expected[i].first) << i;
    EXPECT_EQ(opens[before + i].Path, expected[i].second) << i;
  }
  EXPECT_EQ(Platform.Registry().OpenKeyCount(), 0);
  EXPECT_TRUE(Platform.Mutexes().Created().empty());
}

// IsInstalled asks afresh; the layout stays as it was built.
TEST_F(MainFormTest, LayoutIsFixedAtConstruction) {
  Create();
  Install();
  EXPECT_TRUE(Form->IsInstalled());
  EXPECT_FALSE(Form->Label4->Visible());
}

TEST_F(MainFormTest, BackgroundLoadedWhenPresent) {
  const auto jpeg = assets::PresentationsJpg();
  Platform.Files().SetFile(u"..\\img\\cd.jpg", std::string(jpeg.begin(), jpeg.end()));
  Create();
  EXPECT_EQ(Form->Image1->Picture().Width(), 600);
  EXPECT_EQ(Form->Image1->Picture().Height(), 400);
  // Drawn unscaled from the top-left corner, right after the white fill.
  const auto& ops = Widgetset.Paint(Window());
  ASSERT_GE(ops.size(), 2u);
  EXPECT_EQ(ops[0].Kind, TDrawOp::opFill);
  EXPECT_EQ(ops[0].Color, forms::clWhite);
  EXPECT_EQ(ops[1].Kind, TDrawOp::opPicture);
  EXPECT_EQ(ops[1].Rect, forms::Bounds(0, 0, 600, 400));
}

// A missing or undecodable background leaves white behind the entries, no message.
TEST_F(MainFormTest, BackgroundMissingOrCorruptLeavesWhite) {
  for (bool corrupt : {false, true}) {
    // A JPEG start marker followed by nonsense.
    static constexpr char kBroken[] = "\xFF\xD8\xFF\xE0 not a picture";
    if (corrupt) Platform.Files().SetFile(u"..\\img\\cd.jpg", std::string(kBroken, sizeof kBroken - 1));
    Create();
    EXPECT_TRUE(Form->Image1->Picture().Empty());
    EXPECT_EQ(BoxCount(), 0);
    const auto& ops = Widgetset.Paint(Window());
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops[0].Kind, TDrawOp::opFill);
    EXPECT_EQ(ops[0].Rect, forms::Bounds(0, 0, 887, 591));
    EXPECT_EQ(ops[0].Color, forms::clWhite);
    for (const auto& op : ops) {
      if (op.Kind == TDrawOp::opPicture) {
        EXPECT_NE(op.Rect.Left, 0) << "a background was drawn";
      }
    }
    App.reset();
  }
}

// Every caption is drawn after every picture, and wins the hit test where they overlap.
TEST_F(MainFormTest, CaptionsDrawOverPictures) {
  Install();
  Create();
  const auto& ops = Widgetset.Paint(Window());
  std::vector<rtl::String> texts;
  std::size_t lastPicture = 0, firstText = ops.size();
  for (std::size_t i = 0; i < ops.size(); ++i) {
    if (ops[i].Kind == TDrawOp::opPicture) lastPicture = i;
    if (ops[i].Kind == TDrawOp::opText) {
      firstText = std::min(firstText, i);
      texts.push_back(ops[i].Text);
      EXPECT_EQ(ops[i].Color, forms::RGB(1, 113, 54));
    }
  }
  EXPECT_LT(lastPicture, firstText);
  EXPECT_EQ(texts, (std::vector<rtl::String>{u"Описание", u"Выход", u"Запуск/Обновление"}));
  // Description's caption over its picture, Exit's over its picture.
  EXPECT_EQ(Form->ControlAtPos({Form->Label1->Left() + 2, Form->Label1->Top() + 5}), Form->Label1);
  EXPECT_EQ(Form->ControlAtPos({Form->Label3->Left() + 2, Form->Label3->Top() + 5}), Form->Label3);
  EXPECT_TRUE(Form->Image3->BoundsRect().Contains({Form->Label1->Left() + 2, Form->Label1->Top() + 5}));
  EXPECT_TRUE(Form->Image5->BoundsRect().Contains({Form->Label3->Left() + 2, Form->Label3->Top() + 5}));
}

}  // namespace
}  // namespace qor::testing
