#pragma once
// TForm: one native window with one drawing surface; its controls are windowless
// and drawn in their order. All of the model's policy lives here and in
// TApplication: trampolines that catch handler exceptions, hit testing, hover and
// pressed state, closing through the loop, owned forms destroyed first.
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "forms/controls.h"
#include "forms/layout.h"
#include "forms/widgetset.h"
#include "rtl/exceptions.h"

namespace qor::forms {

class TApplication;

enum class TBorderStyle { bsSingle, bsToolWindow };
using enum TBorderStyle;
enum class TPosition { poDesigned, poScreenCenter, poOwnerFormCenter };
using enum TPosition;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TKeyEvent = std::function<void(TObject* Sender, TKey& Key, TShiftState Shift)>;

class TForm : public TObject {
 public:
  // A form of the application (the first one made by CreateForm is the main form).
  explicit TForm(TApplication& application);
  // A form owned by another: destroyed before its owner, centred over it, no
  // taskbar button of its own.
  explicit TForm(TForm& owner);
  ~TForm() override;

  TApplication& Application() const { return FApplication; }
  TForm* Owner() const { return FOwner; }

  // Runs once when the form and its controls exist, before it is shown
  // (TApplication::CreateForm and TForm::CreateOwnedForm call it).
  virtual void AfterConstruction() {}

  // Makes a form owned by this one: T(TForm& owner, args...), then AfterConstruction.
  template <class T, class... A>
  T& CreateOwnedForm(A&&... args) {
    static_assert(std::is_base_of_v<TForm, T>);
    auto form = std::make_unique<T>(*this, std::forward<A>(args)...);
    form->AfterConstruction();
    T& result = *form;
    AdoptOwned(std::move(form));
    return result;
  }
  int OwnedFormCount() const { return static_cast<int>(FOwned.size()); }
  TForm& OwnedForms(int index) const { return *FOwned.at(static_cast<std::size_t>(index)); }

  // Window properties.
  const rtl::String& Caption() const { return FCaption; }
  void SetCaption(rtl::StringView value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  // The default font of the controls (Tahoma, 11 pixels).
  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  int ClientWidth() const { return FClientWidth; }
  int ClientHeight() const { return FClientHeight; }
  void SetClientWidth(int value) { SetClientSize(value, FClientHeight); }
  void SetClientHeight(int value) { SetClientSize(FClientWidth, value); }
  // Fixed once the window exists.
  void SetClientSize(int width, int height);
  TRect ClientRect() const { return TRect{0, 0, FClientWidth, FClientHeight}; }
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value) { FBorderStyle = value; }
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition value) { FPosition = value; }
  // Read when the window is made; empty: the application's icon.
  TPicture& Icon() { return FIcon; }

  // Show makes the native window on first use.
  void Show();
  void Hide();
  bool Visible() const { return FVisible; }
  // Runs the close sequence after the current event: OnClose with caHide (caFree
  // destroys the form afterwards; closing the main form ends the application).
  void Close();
  // Destroys the form after the current event (as caFree does).
  void Release();

  // Controls in drawing order (later over earlier).
  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl& Controls(int index) const { return *FControls.at(static_cast<std::size_t>(index)); }
  template <class T>
  T& Add(rtl::StringView name) {
    static_assert(std::is_base_of_v<TControl, T>);
    auto control = std::make_unique<T>(*this, name);
    T& result = *control;
    AddControl(std::move(control));
    return result;
  }
  // Builds the table's controls in its order (pictures are decoded here).
  void CreateControls(TLayout layout);
  TControl* FindControl(rtl::StringView name) const;
  // The named control of type T; EInvalidOperation when absent or of another type.
  template <class T>
  T& Control(rtl::StringView name) const {
    if (auto* t = dynamic_cast<T*>(FindControl(name))) return *t;
    ControlNotFound(name);
  }

  // The topmost visible control at a client point, or null.
  TControl* ControlAtPos(TPoint point) const;
  // The control under the pointer (hover) and the one pressed (mouse capture).
  TControl* HotControl() const { return FHot; }
  TControl* PressedControl() const { return FPressed; }
  std::optional<TPoint> PointerPos() const { return FPointer; }

  TNotifyEvent OnShow;
  TCloseEvent OnClose;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;

  void Invalidate();
  // Null until first shown.
  INativeWindow* Handle() const { return FHandle.get(); }

 protected:
  // Fills the client area with Color and draws the visible controls in order.
  virtual void Paint(ICanvas& canvas, const TRect& dirty);

 private:
  friend class TApplication;
  friend class TControl;
  class TEvents;

  void AddControl(std::unique_ptr<TControl> control);
  [[noreturn]] void ControlNotFound(rtl::StringView name) const;
  void AdoptOwned(std::unique_ptr<TForm> form);
  std::unique_ptr<TForm> DetachOwned(TForm& form);
  void DestroyOwnedForms() noexcept;
  void MoveToFront(TControl& control);
  void MoveToBack(TControl& control);
  void ControlChanged(TControl& control);
  void FontChanged();
  TFontRef FontFor(const TFontDesc& desc);
  void CreateHandle();
  void DoClose();
  void HandleInput(const TInputEvent& event);
  void HandlePaint(ICanvas& canvas, const TRect& dirty);
  // Recomputes hover and cursor from the pointer position.
  void UpdateHot();
  // After a modal box: pressed state cleared, hover and cursor from the pointer now.
  void Resync();
  void SetWindowCursor(TCursor cursor);
  std::weak_ptr<bool> AliveToken() const { return FAlive; }

  TApplication& FApplication;
  TForm* FOwner = nullptr;
  std::vector<std::unique_ptr<TForm>> FOwned;
  std::vector<std::unique_ptr<TControl>> FControls;
  rtl::String FCaption;
  TColor FColor = clBtnFace;
  TFont FFont{TFontDesc{u"Tahoma", 11, false}};
  int FClientWidth = 0;
  int FClientHeight = 0;
  TBorderStyle FBorderStyle = bsSingle;
  TPosition FPosition = poDesigned;
  TPicture FIcon;
  bool FVisible = false;
  bool FClosing = false;
  TControl* FHot = nullptr;
  TControl* FPressed = nullptr;
  std::optional<TPoint> FPointer;
  TCursor FWindowCursor = crDefault;
  std::unique_ptr<TEvents> FEvents;
  std::unique_ptr<INativeWindow> FHandle;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace qor::forms
