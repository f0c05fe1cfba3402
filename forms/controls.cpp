#include "forms/controls.h"

#include <algorithm>

#include "forms/application.h"
#include "forms/form.h"
#include "forms/widgetset.h"

namespace qor::forms {

// ---- TControl

TControl::TControl(TForm& parent, rtl::StringView name) : FParent(parent), FName(name), FFont(parent.Font()) {
  FFont.OnChange = [this] {
    if (!FAssigningParentFont) FParentFont = false;
    FontChanged();
  };
}

TControl::~TControl() = default;

void TControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  TRect r = Bounds(left, top, width, height);
  if (r == FBounds) return;
  Invalidate();
  FBounds = r;
  BoundsChanged();
  Invalidate();
  FParent.ControlChanged(*this);
}

void TControl::SetVisible(bool value) {
  if (FVisible == value) return;
  FVisible = value;
  FParent.Invalidate();
  FParent.ControlChanged(*this);
}

void TControl::SetEnabled(bool value) {
  if (FEnabled == value) return;
  FEnabled = value;
  Invalidate();
  FParent.ControlChanged(*this);
}

void TControl::SetCursor(TCursor value) {
  if (FCursor == value) return;
  FCursor = value;
  FParent.ControlChanged(*this);
}

void TControl::SetAlign(TAlign value) {
  if (FAlign == value) return;
  FAlign = value;
  if (FAlign == alClient) {
    TRect c = FParent.ClientRect();
    SetBounds(0, 0, c.Width(), c.Height());
  }
  AdjustSize();
}

void TControl::SetParentFont(bool value) {
  FParentFont = value;
  if (value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!FParentFont) return;
  FAssigningParentFont = true;
  FFont.Assign(FParent.Font());
  FAssigningParentFont = false;
}

void TControl::BringToFront() { FParent.MoveToFront(*this); }
void TControl::SendToBack() { FParent.MoveToBack(*this); }

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::Invalidate() {
  if (FVisible) FParent.Invalidate();
}

TFontRef TControl::FontHandle() {
  if (!FFontHandle || !(FFontHandleDesc == FFont.Desc())) {
    FFontHandle = FParent.FontFor(FFont.Desc());
    FFontHandleDesc = FFont.Desc();
  }
  return FFontHandle;
}

bool TControl::IsHot() const {
  return FParent.HotControl() == this && (FParent.PressedControl() == nullptr || FParent.PressedControl() == this);
}

bool TControl::IsPressedInside() const {
  auto p = FParent.PointerPos();
  return FParent.PressedControl() == this && p && FBounds.Contains(*p);
}

// ---- TImage

TImage::TImage(TForm& parent, rtl::StringView name) : TControl(parent, name) {
  FPicture.OnChange = [this] {
    AdjustSize();
    Invalidate();
  };
}

void TImage::SetStretch(bool value) {
  if (FStretch == value) return;
  FStretch = value;
  AdjustSize();
  Invalidate();
}

void TImage::SetAutoSize(bool value) {
  if (FAutoSize == value) return;
  FAutoSize = value;
  AdjustSize();
}

void TImage::AdjustSize() {
  if (!FAutoSize || FStretch || Align() == alClient || FPicture.Empty()) return;
  SetBounds(Left(), Top(), FPicture.Width(), FPicture.Height());
}

void TImage::Paint(ICanvas& canvas) {
  if (FPicture.Empty()) return;
  const TRect& b = BoundsRect();
  if (FStretch) {
    canvas.DrawPicture(FPicture, TRect{0, 0, FPicture.Width(), FPicture.Height()}, b);
    return;
  }
  int w = std::min(b.Width(), FPicture.Width());
  int h = std::min(b.Height(), FPicture.Height());
  if (w <= 0 || h <= 0) return;
  canvas.DrawPicture(FPicture, TRect{0, 0, w, h}, Bounds(b.Left, b.Top, w, h));
}

// ---- TLabel

TLabel::TLabel(TForm& parent, rtl::StringView name) : TControl(parent, name) {}

void TLabel::SetCaption(rtl::StringView value) {
  if (FCaption == value) return;
  FCaption = rtl::String(value);
  AdjustSize();
  Invalidate();
}

void TLabel::SetAutoSize(bool value) {
  if (FAutoSize == value) return;
  FAutoSize = value;
  AdjustSize();
}

void TLabel::SetWordWrap(bool value) {
  if (FWordWrap == value) return;
  FWordWrap = value;
  AdjustSize();
  Invalidate();
}

void TLabel::SetTransparent(bool value) {
  if (FTransparent == value) return;
  FTransparent = value;
  Invalidate();
}

TColor TLabel::Color() const { return FColor ? *FColor : Parent().Color(); }

void TLabel::SetColor(TColor value) {
  FColor = value;
  Invalidate();
}

unsigned TLabel::TextFlags() const { return FWordWrap ? tfWordWrap : 0u; }

void TLabel::AdjustSize() {
  if (!FAutoSize || FAdjusting || Align() == alClient) return;
  FAdjusting = true;
  TFontRef font = FontHandle();
  IWidgetset& ws = Parent().Application().Widgetset();
  TSize s = ws.MeasureText(*font, FCaption, FWordWrap ? Width() : 0, TextFlags());
  if (FWordWrap)
    SetBounds(Left(), Top(), Width(), s.Height);
  else
    SetBounds(Left(), Top(), s.Width, s.Height);
  FAdjusting = false;
}

void TLabel::BoundsChanged() {
  // A wrapped label's height follows its width.
  if (FWordWrap) AdjustSize();
}

void TLabel::Paint(ICanvas& canvas) {
  const TRect& b = BoundsRect();
  if (!FTransparent) canvas.FillRect(b, Color());
  if (FCaption.empty()) return;
  canvas.DrawText(*FontHandle(), Font().Color(), b, FCaption, TextFlags());
}

// ---- TSpeedButton

TSpeedButton::TSpeedButton(TForm& parent, rtl::StringView name) : TControl(parent, name) {}

void TSpeedButton::SetFlat(bool value) {
  if (FFlat == value) return;
  FFlat = value;
  Invalidate();
}

void TSpeedButton::SetCaption(rtl::StringView value) {
  if (FCaption == value) return;
  FCaption = rtl::String(value);
  Invalidate();
}

void TSpeedButton::Paint(ICanvas& canvas) {
  const TRect& b = BoundsRect();
  bool down = IsPressedInside();
  if (FFlat) {
    if (down)
      canvas.DrawButtonFrame(b, bfDown);
    else if (IsHot() && Enabled())
      canvas.DrawButtonFrame(b, bfHot);
  } else {
    canvas.FillRect(b, clBtnFace);
    canvas.DrawButtonFrame(b, down ? bfDown : bfUp);
  }
  if (!FCaption.empty()) {
    TRect r = b;
    if (down) r = TRect{r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
    canvas.DrawText(*FontHandle(), Font().Color(), r, FCaption, tfCenter | tfVCenter);
  }
}

}  // namespace qor::forms
