#pragma once
// A widgetset without a screen, for tests: it records what each paint draws and
// every box shown, answers boxes from a script, feeds clicks and keys, and keeps
// posted callbacks in a queue the test drains.
#include <deque>
#include <map>
#include <functional>
#include <optional>
#include <vector>

#include "forms/widgetset.h"

namespace qor::forms::headless {

struct TDrawOp {
  enum TKind { opFill, opPicture, opText, opFrame };
  TKind Kind = opFill;
  TRect Rect;          // destination
  TRect Source;        // Picture: the part of the picture drawn
  TColor Color;        // Fill, Text
  rtl::String Text;    // Text
  TFontDesc Font;      // Text
  unsigned Flags = 0;  // Text
  TButtonFrame FrameState = bfUp;
  TSize PictureSize;   // Picture
  const TPicture* PictureRef = nullptr;  // Picture: valid while the picture lives
};

class THeadlessWidgetset;

class THeadlessWindow : public INativeWindow {
 public:
  THeadlessWindow(THeadlessWidgetset& owner, const TWindowParams& params, IWindowEvents& events);
  ~THeadlessWindow() override;

  void Show() override;
  void Hide() override;
  void SetCaption(rtl::StringView caption) override { FCaption = rtl::String(caption); }
  void SetEnabled(bool enabled) override { FEnabled = enabled; }
  void Invalidate(const TRect& rect) override;
  void SetCursor(TCursor cursor) override { FCursor = cursor; }
  std::optional<TPoint> PointerPosition() const override { return FPointer; }

  const TWindowParams& Params() const { return FParams; }
  const rtl::String& Caption() const { return FCaption; }
  bool Visible() const { return FVisible; }
  bool Enabled() const { return FEnabled; }
  TCursor Cursor() const { return FCursor; }
  bool Invalidated() const { return FInvalidated; }
  int ShowCount() const { return FShowCount; }
  // Set by THeadlessWidgetset's pointer calls; tests may move it directly (the
  // "user" moving the mouse while a box is open).
  void SetPointer(std::optional<TPoint> p) { FPointer = p; }
  IWindowEvents& Events() const { return FEvents; }

 private:
  friend class THeadlessWidgetset;
  THeadlessWidgetset& FOwner;
  TWindowParams FParams;
  IWindowEvents& FEvents;
  rtl::String FCaption;
  bool FVisible = false;
  bool FEnabled = true;
  bool FInvalidated = false;
  int FShowCount = 0;
  TCursor FCursor = crDefault;
  std::optional<TPoint> FPointer;
};

struct TBoxRecord {
  TBoxRequest Request;
  // Whether each live window was enabled while the box was open (creation order).
  std::vector<bool> WindowsEnabled;
};

class THeadlessWidgetset : public IWidgetset {
 public:
  THeadlessWidgetset() = default;
  ~THeadlessWidgetset() override;

  // Text metrics: each character is ceil(height / 2) wide (one more when bold),
  // a line is round(height * 1.2) high.
  TFontRef CreateFont(const TFontDesc& desc) override;
  TSize MeasureText(const IFont& font, rtl::StringView text, int wrapWidth, unsigned flags) override;
  std::unique_ptr<INativeWindow> CreateWindow(const TWindowParams& params, IWindowEvents& events) override;
  int ShowBox(const TBoxRequest& request) override;
  // Runs posted callbacks until Quit or until none is left.
  void Run() override;
  void Quit() override { FQuit = true; }
  void Post(std::function<void()> callback) override { FPosted.push_back(std::move(callback)); }
  void Sync() override { ++FSyncCount; }
  // From SystemColors, as a test sets them; none by default.
  std::optional<TColor> SystemColor(TSystemColor which) override {
    const auto it = SystemColors.find(which);
    return it == SystemColors.end() ? std::nullopt : std::optional<TColor>(it->second);
  }
  std::map<TSystemColor, TColor> SystemColors;

  // Live windows in creation order.
  const std::vector<THeadlessWindow*>& Windows() const { return FWindows; }
  THeadlessWindow* FindWindow(rtl::StringView caption) const;
  // Captions of destroyed windows, in destruction order.
  const std::vector<rtl::String>& Destroyed() const { return FDestroyed; }

  // Input, delivered as the toolkit would (no check of the enabled state: the
  // model must ignore input while disabled on its own).
  void MovePointer(THeadlessWindow& window, TPoint p);
  void LeaveWindow(THeadlessWindow& window);
  void PointerDown(THeadlessWindow& window, TPoint p, TMouseButton button = mbLeft);
  void PointerUp(THeadlessWindow& window, TPoint p, TMouseButton button = mbLeft);
  // Move, press and release the left button at p.
  void Click(THeadlessWindow& window, TPoint p);
  void KeyDown(THeadlessWindow& window, TKey key, TShiftState shift = {});
  void KeyUp(THeadlessWindow& window, TKey key, TShiftState shift = {});
  void PressKey(THeadlessWindow& window, TKey key, TShiftState shift = {});
  void RequestClose(THeadlessWindow& window);

  // Paints the client area (or the dirty part given) and returns what was drawn.
  const std::vector<TDrawOp>& Paint(THeadlessWindow& window, std::optional<TRect> dirty = std::nullopt);
  const std::vector<TDrawOp>& LastPaint() const { return FLastPaint; }
  int PaintCount() const { return FPaintCount; }

  // Boxes: answered by BoxAnswerer when set, else from the queue of answers,
  // else with the default button's result.
  std::function<int(const TBoxRequest&)> BoxAnswerer;
  std::deque<int> BoxAnswers;
  const std::vector<TBoxRecord>& Boxes() const { return FBoxes; }

  // Runs posted callbacks (and those they post) until the queue is empty or Quit
  // was called; returns how many ran.
  int DrainPosted();
  std::size_t PendingPosts() const { return FPosted.size(); }
  bool QuitRequested() const { return FQuit; }
  void ResetQuit() { FQuit = false; }
  int SyncCount() const { return FSyncCount; }

 private:
  friend class THeadlessWindow;
  void Forget(THeadlessWindow* window);
  void Deliver(THeadlessWindow& window, const TInputEvent& event);

  std::vector<THeadlessWindow*> FWindows;
  std::vector<rtl::String> FDestroyed;
  std::vector<TBoxRecord> FBoxes;
  std::deque<std::function<void()>> FPosted;
  std::vector<TDrawOp> FLastPaint;
  int FPaintCount = 0;
  int FSyncCount = 0;
  bool FQuit = false;
  TShiftState FButtons;
};

}  // namespace qor::forms::headless
