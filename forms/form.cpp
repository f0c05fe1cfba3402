#include "forms/form.h"

#include <algorithm>

#include "forms/application.h"

namespace qor::forms {

// The trampolines: every toolkit callback enters the model here.
class TForm::TEvents : public IWindowEvents {
 public:
  explicit TEvents(TForm& form) : FForm(form) {}
  void Paint(ICanvas& canvas, const TRect& dirty) noexcept override {
    FForm.FApplication.Dispatch(FForm, [&] { FForm.HandlePaint(canvas, dirty); });
  }
  void Input(const TInputEvent& event) noexcept override {
    FForm.FApplication.Dispatch(FForm, [&] { FForm.HandleInput(event); });
  }

 private:
  TForm& FForm;
};

TForm::TForm(TApplication& application) : FApplication(application), FEvents(std::make_unique<TEvents>(*this)) {
  FFont.OnChange = [this] { FontChanged(); };
}

TForm::TForm(TForm& owner)
    : FApplication(owner.FApplication), FOwner(&owner), FEvents(std::make_unique<TEvents>(*this)) {
  FFont.OnChange = [this] { FontChanged(); };
}

TForm::~TForm() {
  *FAlive = false;
  DestroyOwnedForms();
  FApplication.FormDestroying(*this);
  FHandle.reset();
  FHot = FPressed = nullptr;
}

void TForm::AdoptOwned(std::unique_ptr<TForm> form) { FOwned.push_back(std::move(form)); }

std::unique_ptr<TForm> TForm::DetachOwned(TForm& form) {
  auto it = std::find_if(FOwned.begin(), FOwned.end(), [&](const auto& f) { return f.get() == &form; });
  if (it == FOwned.end()) return nullptr;
  std::unique_ptr<TForm> result = std::move(*it);
  FOwned.erase(it);
  return result;
}

void TForm::DestroyOwnedForms() noexcept {
  // Newest first; each destroys its own owned forms before itself.
  while (!FOwned.empty()) {
    std::unique_ptr<TForm> f = std::move(FOwned.back());
    FOwned.pop_back();
    f.reset();
  }
}

// ---- properties

void TForm::SetCaption(rtl::StringView value) {
  if (FCaption == value) return;
  FCaption = rtl::String(value);
  if (FHandle) FHandle->SetCaption(FCaption);
}

void TForm::SetColor(TColor value) {
  if (FColor == value) return;
  FColor = value;
  Invalidate();
}

void TForm::SetClientSize(int width, int height) {
  if (FHandle) return;  // the window is fixed once made
  FClientWidth = std::max(width, 0);
  FClientHeight = std::max(height, 0);
  for (auto& c : FControls)
    if (c->Align() == alClient) c->SetBounds(0, 0, FClientWidth, FClientHeight);
}

void TForm::FontChanged() {
  for (auto& c : FControls) c->ParentFontChanged();
}

TFontRef TForm::FontFor(const TFontDesc& desc) { return FApplication.Font(desc); }

// ---- controls

void TForm::AddControl(std::unique_ptr<TControl> control) {
  FControls.push_back(std::move(control));
  Invalidate();
}

void TForm::CreateControls(TLayout layout) {
  for (const TControlSpec& spec : layout) {
    TControl* control = nullptr;
    switch (spec.Kind) {
      case TControlKind::Image: {
        auto& image = Add<TImage>(spec.Name);
        image.SetBounds(spec.Left, spec.Top, spec.Width, spec.Height);
        image.SetStretch(spec.Stretch);
        image.SetAutoSize(spec.AutoSize);
        if (!spec.Picture.empty()) image.Picture().LoadFromMemory(spec.Picture);
        control = &image;
        break;
      }
      case TControlKind::Label: {
        auto& label = Add<TLabel>(spec.Name);
        label.SetAutoSize(false);
        label.SetBounds(spec.Left, spec.Top, spec.Width, spec.Height);
        label.SetTransparent(spec.Transparent);
        label.SetWordWrap(spec.WordWrap);
        label.SetCaption(spec.Caption);
        control = &label;
        break;
      }
      case TControlKind::SpeedButton: {
        auto& button = Add<TSpeedButton>(spec.Name);
        button.SetBounds(spec.Left, spec.Top, spec.Width, spec.Height);
        button.SetFlat(spec.Flat);
        button.SetCaption(spec.Caption);
        control = &button;
        break;
      }
    }
    if (spec.Font) {
      TFont& f = control->Font();
      f.SetName(spec.Font->Name);
      f.SetHeight(spec.Font->Height);
      f.SetBold(spec.Font->Bold);
      f.SetColor(spec.Font->Color);
    }
    control->SetCursor(spec.Cursor);
    control->SetAlign(spec.Align);
    control->SetVisible(spec.Visible);
    // Labels size themselves once their font and caption are known.
    if (auto* label = dynamic_cast<TLabel*>(control)) label->SetAutoSize(spec.AutoSize);
  }
}

TControl* TForm::FindControl(rtl::StringView name) const {
  for (auto& c : FControls)
    if (c->Name() == name) return c.get();
  return nullptr;
}

void TForm::ControlNotFound(rtl::StringView name) const {
  throw rtl::EInvalidOperation(u"Control \"" + rtl::String(name) + u"\" not found");
}

void TForm::MoveToFront(TControl& control) {
  auto it = std::find_if(FControls.begin(), FControls.end(), [&](const auto& c) { return c.get() == &control; });
  if (it == FControls.end() || it + 1 == FControls.end()) return;
  std::rotate(it, it + 1, FControls.end());
  Invalidate();
  ControlChanged(control);
}

void TForm::MoveToBack(TControl& control) {
  auto it = std::find_if(FControls.begin(), FControls.end(), [&](const auto& c) { return c.get() == &control; });
  if (it == FControls.end() || it == FControls.begin()) return;
  std::rotate(FControls.begin(), it, it + 1);
  Invalidate();
  ControlChanged(control);
}

void TForm::ControlChanged(TControl& control) {
  if (FPressed == &control && (!control.Visible() || !control.Enabled())) FPressed = nullptr;
  UpdateHot();
}

TControl* TForm::ControlAtPos(TPoint point) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl& c = **it;
    if (c.Visible() && c.Enabled() && c.BoundsRect().Contains(point)) return &c;
  }
  return nullptr;
}

// ---- showing and closing

void TForm::CreateHandle() {
  if (FHandle) return;
  TWindowParams p;
  p.Kind = FBorderStyle == bsToolWindow ? TWindowKind::Tool : TWindowKind::Main;
  if (FOwner) {
    FOwner->CreateHandle();
    p.Owner = FOwner->Handle();
  }
  p.ClientWidth = FClientWidth;
  p.ClientHeight = FClientHeight;
  p.Caption = FCaption;
  p.Icon = FIcon.Empty() ? &FApplication.Icon() : &FIcon;
  p.Color = FColor;
  p.TaskbarButton = FOwner == nullptr;
  switch (FPosition) {
    case poDesigned: p.Placement = TWindowPlacement::Default; break;
    case poScreenCenter: p.Placement = TWindowPlacement::ScreenCenter; break;
    case poOwnerFormCenter:
      p.Placement = FOwner ? TWindowPlacement::OwnerCenter : TWindowPlacement::ScreenCenter;
      break;
  }
  FHandle = FApplication.Widgetset().CreateWindow(p, *FEvents);
  FWindowCursor = crDefault;
}

void TForm::Show() {
  CreateHandle();
  if (FVisible) return;
  FVisible = true;
  FHandle->Show();
  if (FApplication.ModalActive()) FHandle->SetEnabled(false);
  Resync();
  if (OnShow) OnShow(this);
}

void TForm::Hide() {
  if (!FVisible) return;
  FVisible = false;
  if (FHandle) FHandle->Hide();
  FHot = FPressed = nullptr;
  FPointer.reset();
}

void TForm::Close() {
  std::weak_ptr<bool> alive = FAlive;
  FApplication.Post([this, alive] {
    if (auto a = alive.lock(); a && *a) DoClose();
  });
}

void TForm::DoClose() {
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (this == FApplication.MainForm()) {
    FApplication.Terminate();
    return;
  }
  Hide();
  if (action == caFree) Release();
}

void TForm::Release() {
  std::weak_ptr<bool> alive = FAlive;
  FApplication.Post([this, alive] {
    if (auto a = alive.lock(); a && *a) FApplication.ReleaseForm(*this);
  });
}

void TForm::Invalidate() {
  if (FHandle && FVisible) FHandle->Invalidate(ClientRect());
}

// ---- events

void TForm::Paint(ICanvas& canvas, const TRect& dirty) {
  canvas.FillRect(ClientRect().Intersect(dirty), FColor);
  for (auto& c : FControls) {
    if (!c->Visible() || c->BoundsRect().Intersect(dirty).Empty()) continue;
    c->Paint(canvas);
  }
}

void TForm::HandlePaint(ICanvas& canvas, const TRect& dirty) {
  Paint(canvas, dirty);
  if (dirty.Intersect(ClientRect()) == ClientRect()) FApplication.FormPainted(*this);
}

void TForm::HandleInput(const TInputEvent& event) {
  // A disabled window takes no input, whatever the toolkit delivers.
  if (FApplication.ModalActive() && event.Kind != TInputKind::PointerLeave) return;
  switch (event.Kind) {
    case TInputKind::PointerMove:
      FPointer = event.Pos;
      UpdateHot();
      if (FPressed) FPressed->Invalidate();
      break;
    case TInputKind::PointerLeave:
      FPointer.reset();
      UpdateHot();
      if (FPressed) FPressed->Invalidate();
      break;
    case TInputKind::PointerDown:
      FPointer = event.Pos;
      if (event.Button != mbLeft) break;
      FPressed = ControlAtPos(event.Pos);
      UpdateHot();
      if (FPressed) FPressed->Invalidate();
      break;
    case TInputKind::PointerUp: {
      FPointer = event.Pos;
      if (event.Button != mbLeft) break;
      TControl* target = FPressed;
      // Cleared before the handler runs: a box or a new window opened by it must
      // not find this control still pressed.
      FPressed = nullptr;
      UpdateHot();
      if (!target) break;
      target->Invalidate();
      if (target->Visible() && target->Enabled() && target->BoundsRect().Contains(event.Pos)) target->Click();
      break;
    }
    case TInputKind::KeyDown: {
      TKey key = event.Key;
      if (OnKeyDown) OnKeyDown(this, key, event.Shift);
      break;
    }
    case TInputKind::KeyUp: {
      TKey key = event.Key;
      if (OnKeyUp) OnKeyUp(this, key, event.Shift);
      break;
    }
    case TInputKind::CloseRequested:
      Close();
      break;
  }
}

void TForm::UpdateHot() {
  TControl* hot = FPointer ? ControlAtPos(*FPointer) : nullptr;
  if (hot != FHot) {
    if (FHot) FHot->Invalidate();
    FHot = hot;
    if (FHot) FHot->Invalidate();
  }
  TControl* shape = FPressed ? FPressed : FHot;
  SetWindowCursor(shape ? shape->Cursor() : crDefault);
}

void TForm::Resync() {
  FPressed = nullptr;
  FPointer = (FHandle && FVisible) ? FHandle->PointerPosition() : std::nullopt;
  UpdateHot();
  Invalidate();
}

void TForm::SetWindowCursor(TCursor cursor) {
  if (!FHandle || cursor == FWindowCursor) return;
  FWindowCursor = cursor;
  FHandle->SetCursor(cursor);
}

}  // namespace qor::forms
