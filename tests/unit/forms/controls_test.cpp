// Controls: sizes that follow pictures and text, stretching, drawing order and
// the flat button's frames, as recorded by the headless widgetset.
#include "forms_fixture.h"

namespace qor::forms::testing {
namespace {

using headless::TDrawOp;

TBitmapData Solid(int w, int h, std::uint32_t pixel = 0xFF102030u) {
  TBitmapData b;
  b.Width = w;
  b.Height = h;
  b.Pixels.assign(static_cast<std::size_t>(w) * h, pixel);
  return b;
}

std::vector<const TDrawOp*> OpsOf(const std::vector<TDrawOp>& ops, TDrawOp::TKind kind) {
  std::vector<const TDrawOp*> out;
  for (auto& op : ops)
    if (op.Kind == kind) out.push_back(&op);
  return out;
}

TEST_F(FormsTest, AutoSizedPicturesTakeThePictureSizeStretchedOnesKeepTheirs) {
  TForm& form = App.CreateForm<TForm>();
  form.SetClientSize(887, 591);
  auto& autoSized = form.Add<TImage>(u"a");
  autoSized.SetBounds(10, 20, 5, 5);
  autoSized.SetAutoSize(true);
  autoSized.Picture().Assign(Solid(116, 84));
  EXPECT_EQ(autoSized.BoundsRect(), Bounds(10, 20, 116, 84));

  auto& stretched = form.Add<TImage>(u"s");
  stretched.SetBounds(692, 8, 187, 65);
  stretched.SetAutoSize(true);
  stretched.SetStretch(true);
  stretched.Picture().Assign(Solid(1336, 466));
  EXPECT_EQ(stretched.BoundsRect(), Bounds(692, 8, 187, 65));

  auto& client = form.Add<TImage>(u"c");
  client.SetAlign(alClient);
  client.SetAutoSize(true);
  client.Picture().Assign(Solid(1000, 700));
  EXPECT_EQ(client.BoundsRect(), Bounds(0, 0, 887, 591));

  form.Show();
  auto pics = OpsOf(Ws.Paint(Win(form)), TDrawOp::opPicture);
  ASSERT_EQ(pics.size(), 3u);
  EXPECT_EQ(pics[0]->Source, Bounds(0, 0, 116, 84));
  EXPECT_EQ(pics[0]->Rect, Bounds(10, 20, 116, 84));
  // The whole picture scaled into the control.
  EXPECT_EQ(pics[1]->Source, Bounds(0, 0, 1336, 466));
  EXPECT_EQ(pics[1]->Rect, Bounds(692, 8, 187, 65));
  // Unscaled from the top-left corner, clipped to the control.
  EXPECT_EQ(pics[2]->Source, Bounds(0, 0, 887, 591));
  EXPECT_EQ(pics[2]->Rect, Bounds(0, 0, 887, 591));
}

TEST_F(FormsTest, ASmallPictureInALargeControlDrawsAtItsOwnSize) {
  TForm& form = App.CreateForm<TForm>();
  form.SetClientSize(887, 591);
  auto& back = form.Add<TImage>(u"back");
  back.SetAlign(alClient);
  back.Picture().Assign(Solid(300, 200));
  form.Show();
  auto pics = OpsOf(Ws.Paint(Win(form)), TDrawOp::opPicture);
  ASSERT_EQ(pics.size(), 1u);
  EXPECT_EQ(pics[0]->Rect, Bounds(0, 0, 300, 200));
  back.Picture().Clear();
  EXPECT_TRUE(OpsOf(Ws.Paint(Win(form)), TDrawOp::opPicture).empty());
}

TEST_F(FormsTest, LabelsSizeThemselvesToTheirText) {
  // Headless metrics: a bold 16-pixel character is 9 wide, a line 19 high.
  TForm& form = App.CreateForm<TForm>();
  auto& label = form.Add<TLabel>(u"l");
  label.SetBounds(704, 511, 1, 1);
  label.Font().SetHeight(16);
  label.Font().SetBold(true);
  label.SetCaption(u"Выход");
  EXPECT_EQ(label.BoundsRect(), Bounds(704, 511, 45, 19));
  label.SetCaption(u"Запуск/Обновление");
  EXPECT_EQ(label.Width(), 17 * 9);
  label.Font().SetHeight(20);  // 10 + 1 wide, 24 high
  EXPECT_EQ(label.BoundsRect(), Bounds(704, 511, 17 * 11, 24));
  label.SetCaption(u"two\r\nlines");
  EXPECT_EQ(label.Height(), 48);

  label.SetAutoSize(false);
  label.SetCaption(u"a much longer caption than before");
  EXPECT_EQ(label.BoundsRect(), Bounds(704, 511, 5 * 11, 48));
}

TEST_F(FormsTest, WrappedLabelsKeepTheirWidthAndGrowInHeight) {
  TForm& form = App.CreateForm<TForm>();
  auto& label = form.Add<TLabel>(u"l");
  label.SetAutoSize(false);
  label.SetBounds(215, 43, 90, 57);  // 10 characters of 9 pixels per line
  label.Font().SetHeight(16);
  label.Font().SetBold(true);
  label.SetWordWrap(true);
  label.SetCaption(u"aaaa bbbb cccc dddd");
  label.SetAutoSize(true);
  EXPECT_EQ(label.BoundsRect(), Bounds(215, 43, 90, 38));  // "aaaa bbbb" / "cccc dddd"
  label.SetWidth(45);  // one word per line
  EXPECT_EQ(label.Height(), 4 * 19);
  label.SetCaption(u"first line\r\nsecond");
  EXPECT_EQ(label.Height(), 3 * 19);  // "first" "line" "second"

  form.SetClientSize(600, 400);
  form.Show();
  auto texts = OpsOf(Ws.Paint(Win(form)), TDrawOp::opText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0]->Flags & tfWordWrap, tfWordWrap);
  EXPECT_EQ(texts[0]->Rect, label.BoundsRect());
}

TEST_F(FormsTest, ControlsFollowTheFormFontUntilTheirOwnChanges) {
  TForm& form = App.CreateForm<TForm>();
  auto& label = form.Add<TLabel>(u"l");
  label.SetCaption(u"abc");
  EXPECT_EQ(label.Font().Name(), u"Tahoma");
  EXPECT_EQ(label.Font().Height(), 11);
  form.Font().SetHeight(14);
  EXPECT_EQ(label.Font().Height(), 14);
  EXPECT_EQ(label.Width(), 3 * 7);
  label.Font().SetColor(RGB(1, 113, 54));
  EXPECT_FALSE(label.ParentFont());
  form.Font().SetHeight(20);
  EXPECT_EQ(label.Font().Height(), 14);
}

TEST_F(FormsTest, PaintDrawsTheFormColourThenVisibleControlsInOrder) {
  auto& form = App.CreateForm<TTestForm>();
  form.SetColor(clWhite);
  form.Back().Picture().Assign(Solid(887, 591));
  form.Picture().Picture().Assign(Solid(80, 60, 0x80402010u));
  form.Caption1().BringToFront();
  form.Show();
  const auto& ops = Ws.Paint(Win(form));
  ASSERT_GE(ops.size(), 4u);
  EXPECT_EQ(ops[0].Kind, TDrawOp::opFill);
  EXPECT_EQ(ops[0].Rect, Bounds(0, 0, 887, 591));
  EXPECT_EQ(ops[0].Color, clWhite);
  EXPECT_EQ(ops[1].Kind, TDrawOp::opPicture);  // background
  EXPECT_EQ(ops[2].Kind, TDrawOp::opPicture);  // the entry picture
  EXPECT_EQ(ops[2].PictureRef, &form.Picture().Picture());
  // The flat button draws nothing while the pointer is elsewhere; the hidden
  // image not at all; the transparent caption last and without a fill.
  ASSERT_EQ(ops.size(), 4u);
  EXPECT_EQ(ops[3].Kind, TDrawOp::opText);
  EXPECT_EQ(ops[3].Text, u"Caption");
  EXPECT_EQ(ops[3].Color, RGB(1, 113, 54));
  EXPECT_EQ(ops[3].Font, (TFontDesc{u"Tahoma", 16, true}));
}

TEST_F(FormsTest, AnOpaqueLabelFillsWithTheFormColourUnlessGivenItsOwn) {
  TForm& form = App.CreateForm<TForm>();
  form.SetClientSize(100, 100);
  form.SetColor(clWhite);
  auto& label = form.Add<TLabel>(u"l");
  label.SetCaption(u"x");
  form.Show();
  auto fills = OpsOf(Ws.Paint(Win(form)), TDrawOp::opFill);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[1]->Color, clWhite);
  label.SetColor(RGB(9, 8, 7));
  fills = OpsOf(Ws.Paint(Win(form)), TDrawOp::opFill);
  EXPECT_EQ(fills[1]->Color, RGB(9, 8, 7));
}

TEST_F(FormsTest, FlatButtonFramesFollowHoverAndPress) {
  auto& form = App.CreateForm<TTestForm>();
  form.Show();
  auto& w = Win(form);
  auto frames = [&] {
    std::vector<TButtonFrame> out;
    for (auto* op : OpsOf(Ws.Paint(w), TDrawOp::opFrame)) out.push_back(op->FrameState);
    return out;
  };
  const TPoint on{310, 310}, off{10, 10};
  EXPECT_TRUE(frames().empty());
  Ws.MovePointer(w, on);
  EXPECT_EQ(frames(), std::vector<TButtonFrame>{bfHot});
  Ws.PointerDown(w, on);
  EXPECT_EQ(frames(), std::vector<TButtonFrame>{bfDown});
  Ws.MovePointer(w, off);  // pressed, pointer outside: no frame
  EXPECT_TRUE(frames().empty());
  Ws.MovePointer(w, on);
  EXPECT_EQ(frames(), std::vector<TButtonFrame>{bfDown});
  Ws.PointerUp(w, on);
  EXPECT_EQ(frames(), std::vector<TButtonFrame>{bfHot});
  Ws.LeaveWindow(w);
  EXPECT_TRUE(frames().empty());

  form.Button().SetFlat(false);
  EXPECT_EQ(frames(), std::vector<TButtonFrame>{bfUp});
}

TEST_F(FormsTest, LayoutTablesBuildControlsInOrderWithTheirProperties) {
  auto& form = App.CreateForm<TTestForm>();
  ASSERT_EQ(form.ControlCount(), 5);
  EXPECT_EQ(form.Controls(0).Name(), u"imgBack");
  EXPECT_EQ(form.Back().BoundsRect(), Bounds(0, 0, 887, 591));
  EXPECT_EQ(form.Picture().BoundsRect(), Bounds(100, 100, 80, 60));
  EXPECT_EQ(form.Picture().Cursor(), crHandPoint);
  EXPECT_EQ(form.Caption1().BoundsRect(), Bounds(150, 120, 7 * 9, 19));  // auto-sized
  EXPECT_TRUE(form.Caption1().Transparent());
  EXPECT_EQ(form.Caption1().Font().Color(), RGB(1, 113, 54));
  EXPECT_TRUE(form.Button().Flat());
  EXPECT_FALSE(form.Hidden().Visible());
  EXPECT_EQ(form.FindControl(u"nothing"), nullptr);
  EXPECT_THROW(form.Control<TLabel>(u"imgBack"), rtl::EInvalidOperation);
  EXPECT_THROW(form.Control<TImage>(u"nothing"), rtl::EInvalidOperation);
}

TEST_F(FormsTest, InvalidPictureDataInALayoutLeavesTheImageEmpty) {
  static const std::uint8_t garbage[] = {0x89, 'P', 'N', 'G', 1, 2, 3};
  static const TControlSpec layout[] = {
      {.Kind = TControlKind::Image, .Name = u"img", .Left = 5, .Top = 6, .Width = 7, .Height = 8, .AutoSize = true,
       .Picture = garbage},
  };
  TForm& form = App.CreateForm<TForm>();
  form.CreateControls(layout);
  auto& img = form.Control<TImage>(u"img");
  EXPECT_TRUE(img.Picture().Empty());
  EXPECT_EQ(img.BoundsRect(), Bounds(5, 6, 7, 8));
}

}  // namespace
}  // namespace qor::forms::testing
