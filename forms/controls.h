#pragma once
// The windowless controls. They are drawn onto their form's one surface in the
// form's control order (later over earlier) and receive clicks through the form's
// hit testing.
#include <functional>
#include <optional>

#include "forms/font.h"
#include "forms/picture.h"
#include "forms/types.h"
#include "rtl/strings.h"

namespace qor::forms {

class ICanvas;
class TForm;

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

enum class TAlign { alNone, alClient };
using enum TAlign;

class TControl : public TObject {
 public:
  // Controls are made by their form (TForm::Add, TForm::CreateControls), which owns them.
  TControl(TForm& parent, rtl::StringView name);
  ~TControl() override;

  TForm& Parent() const { return FParent; }
  const rtl::String& Name() const { return FName; }

  int Left() const { return FBounds.Left; }
  int Top() const { return FBounds.Top; }
  int Width() const { return FBounds.Width(); }
  int Height() const { return FBounds.Height(); }
  void SetLeft(int value) { SetBounds(value, Top(), Width(), Height()); }
  void SetTop(int value) { SetBounds(Left(), value, Width(), Height()); }
  void SetWidth(int value) { SetBounds(Left(), Top(), value, Height()); }
  void SetHeight(int value) { SetBounds(Left(), Top(), Width(), value); }
  void SetBounds(int left, int top, int width, int height);
  // In the form's client coordinates.
  const TRect& BoundsRect() const { return FBounds; }

  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);

  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor value);
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign value);

  // Follows the form's font until changed on the control itself.
  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool value);

  // Moves the control to the end of its form's order: drawn last, hit first.
  void BringToFront();
  void SendToBack();

  // Runs OnClick (the form calls it for a left click released over the control).
  virtual void Click();
  TNotifyEvent OnClick;

  void Invalidate();

 protected:
  friend class TForm;
  virtual void Paint(ICanvas& canvas) = 0;
  // Re-measures what sizes itself (pictures, text).
  virtual void AdjustSize() {}
  virtual void FontChanged() { AdjustSize(); Invalidate(); }
  virtual void BoundsChanged() {}
  void SetBoundsQuiet(const TRect& r) { FBounds = r; }
  // The form's font realised by the widgetset (cached per description).
  TFontRef FontHandle();
  // The parent's state for this control.
  bool IsHot() const;
  bool IsPressedInside() const;

 private:
  void ParentFontChanged();

  TForm& FParent;
  rtl::String FName;
  TRect FBounds;
  bool FVisible = true;
  bool FEnabled = true;
  TCursor FCursor = crDefault;
  TAlign FAlign = alNone;
  TFont FFont;
  bool FParentFont = true;
  bool FAssigningParentFont = false;
  TFontRef FFontHandle;
  TFontDesc FFontHandleDesc;
};

class TImage : public TControl {
 public:
  TImage(TForm& parent, rtl::StringView name);

  // Changing the picture re-sizes an auto-sized image and repaints.
  TPicture& Picture() { return FPicture; }
  const TPicture& Picture() const { return FPicture; }
  // Draws the whole picture scaled to the control; otherwise unscaled from the
  // top-left corner, clipped to the control.
  bool Stretch() const { return FStretch; }
  void SetStretch(bool value);
  // The control takes the picture's size (not when stretched or aligned).
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);

 protected:
  void Paint(ICanvas& canvas) override;
  void AdjustSize() override;

 private:
  TPicture FPicture;
  bool FStretch = false;
  bool FAutoSize = false;
};

class TLabel : public TControl {
 public:
  TLabel(TForm& parent, rtl::StringView name);

  const rtl::String& Caption() const { return FCaption; }
  void SetCaption(rtl::StringView value);
  // On by default: the label takes its text's size; with WordWrap only the height
  // follows the text wrapped at the current width.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  // A transparent label draws only its text; otherwise it fills with Color first.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  // The background when not transparent; the form's colour unless set.
  TColor Color() const;
  void SetColor(TColor value);

 protected:
  void Paint(ICanvas& canvas) override;
  void AdjustSize() override;
  void BoundsChanged() override;

 private:
  unsigned TextFlags() const;
  rtl::String FCaption;
  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FTransparent = false;
  std::optional<TColor> FColor;
  bool FAdjusting = false;
};

class TSpeedButton : public TControl {
 public:
  TSpeedButton(TForm& parent, rtl::StringView name);

  // A flat button draws nothing but its caption until the pointer is over it
  // (hot frame) or it is pressed (sunken frame).
  bool Flat() const { return FFlat; }
  void SetFlat(bool value);
  const rtl::String& Caption() const { return FCaption; }
  void SetCaption(rtl::StringView value);

 protected:
  void Paint(ICanvas& canvas) override;

 private:
  bool FFlat = false;
  rtl::String FCaption;
};

}  // namespace qor::forms
