#pragma once
// What the form model needs from a window toolkit, and nothing of its policy:
// fonts, native windows with one drawing surface each, a canvas during paints,
// input events as plain data, the modal box and the loop.
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "forms/font.h"
#include "forms/picture.h"
#include "forms/types.h"
#include "rtl/strings.h"

namespace qor::forms {

// Text layout flags for measuring and drawing.
enum TTextFlag : unsigned {
  tfWordWrap = 1,  // break lines at spaces to fit the width
  tfCenter = 2,    // centre each line horizontally
  tfVCenter = 4,   // centre the block vertically
};

enum class TButtonFrame { bfUp, bfHot, bfDown };
using enum TButtonFrame;

// Valid only inside a paint callback. Coordinates are client pixels.
class ICanvas {
 public:
  virtual ~ICanvas() = default;
  virtual void FillRect(const TRect& rect, TColor color) = 0;
  // Blends the premultiplied source rectangle of the picture over dest, scaled
  // when the two sizes differ.
  virtual void DrawPicture(const TPicture& picture, const TRect& source, const TRect& dest) = 0;
  // Draws text in the rectangle, clipped to it. CR LF (or LF) breaks lines.
  virtual void DrawText(const IFont& font, TColor color, const TRect& rect, rtl::StringView text,
                        unsigned flags) = 0;
  // The frame of a flat button; bfUp is the frame of a normal (not flat) button.
  virtual void DrawButtonFrame(const TRect& rect, TButtonFrame state) = 0;
};

enum class TInputKind { PointerMove, PointerDown, PointerUp, PointerLeave, KeyDown, KeyUp, CloseRequested };

struct TInputEvent {
  TInputKind Kind = TInputKind::PointerMove;
  TPoint Pos;                       // pointer events
  TMouseButton Button = mbLeft;     // PointerDown / PointerUp
  TKey Key = 0;                     // KeyDown / KeyUp: a Windows virtual-key code
  TShiftState Shift;
};

// Implemented by the model. The widgetset calls these from its event handlers;
// they never throw.
class IWindowEvents {
 public:
  virtual ~IWindowEvents() = default;
  virtual void Paint(ICanvas& canvas, const TRect& dirty) noexcept = 0;
  virtual void Input(const TInputEvent& event) noexcept = 0;
};

enum class TWindowKind { Main, Tool };
enum class TWindowPlacement { Default, ScreenCenter, OwnerCenter };

class INativeWindow;

struct TWindowParams {
  TWindowKind Kind = TWindowKind::Main;
  INativeWindow* Owner = nullptr;  // tool windows: the window they belong to
  int ClientWidth = 0;
  int ClientHeight = 0;
  rtl::String Caption;
  const TPicture* Icon = nullptr;  // may be null or empty; read during creation only
  TColor Color = clBtnFace;
  bool TaskbarButton = true;
  TWindowPlacement Placement = TWindowPlacement::Default;
};

// A native top-level window, fixed size, not resizable, no minimise or maximise.
// Destroying the object destroys the window.
class INativeWindow {
 public:
  virtual ~INativeWindow() = default;
  // Showing centres the window the first time, as its placement says.
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual void SetCaption(rtl::StringView caption) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void Invalidate(const TRect& rect) = 0;
  virtual void SetCursor(TCursor cursor) = 0;
  // The pointer in client coordinates while it is over the client area.
  virtual std::optional<TPoint> PointerPosition() const = 0;
};

enum class TBoxIcon { None, Error, Warning, Information, Question };

struct TBoxButton {
  rtl::String Caption;  // exactly as shown; '&' marks the mnemonic, "&&" is an ampersand
  int Result = 0;
};

struct TBoxRequest {
  INativeWindow* Owner = nullptr;  // none: a box of its own
  TBoxIcon Icon = TBoxIcon::None;
  rtl::String Caption;
  rtl::String Text;  // CR LF breaks lines
  std::vector<TBoxButton> Buttons;
  int DefaultButton = 0;  // index into Buttons
  int CloseResult = 0;    // the answer when the box is closed without a button
};

// The system's colours that forms take over.
enum class TSystemColor { BtnFace, WindowText };

class IWidgetset {
 public:
  virtual ~IWidgetset() = default;

  // Fonts, usable without any window.
  virtual TFontRef CreateFont(const TFontDesc& desc) = 0;
  // flags: tfWordWrap with wrapWidth > 0 wraps. An empty text measures one line's height.
  virtual TSize MeasureText(const IFont& font, rtl::StringView text, int wrapWidth, unsigned flags) = 0;

  virtual std::unique_ptr<INativeWindow> CreateWindow(const TWindowParams& params, IWindowEvents& events) = 0;

  // Modal: returns the Result of the button chosen, or CloseResult.
  virtual int ShowBox(const TBoxRequest& request) = 0;

  // Runs until Quit (which may be called before Run: it then returns at once).
  virtual void Run() = 0;
  virtual void Quit() = 0;
  // Runs callback after the current event has returned, on the loop's thread.
  virtual void Post(std::function<void()> callback) = 0;
  // Waits until what was drawn so far has reached the screen.
  virtual void Sync() = 0;

  // The colour the system (or the toolkit's theme) gives which; nullopt when it
  // gives none.
  virtual std::optional<TColor> SystemColor(TSystemColor which) = 0;
};

}  // namespace qor::forms
