#include "forms/headless/headless_widgetset.h"

#include <algorithm>
#include <cmath>

namespace qor::forms::headless {

namespace {

class THeadlessFont final : public IFont {
 public:
  explicit THeadlessFont(TFontDesc desc) : Desc(std::move(desc)) {}
  TFontDesc Desc;
  int CharWidth() const { return (Desc.Height + 1) / 2 + (Desc.Bold ? 1 : 0); }
  int LineHeight() const { return static_cast<int>(std::lround(Desc.Height * 1.2)); }
};

class TRecordingCanvas final : public ICanvas {
 public:
  explicit TRecordingCanvas(std::vector<TDrawOp>& ops) : FOps(ops) {}
  void FillRect(const TRect& rect, TColor color) override {
    TDrawOp op;
    op.Kind = TDrawOp::opFill;
    op.Rect = rect;
    op.Color = color;
    FOps.push_back(std::move(op));
  }
  void DrawPicture(const TPicture& picture, const TRect& source, const TRect& dest) override {
    TDrawOp op;
    op.Kind = TDrawOp::opPicture;
    op.Rect = dest;
    op.Source = source;
    op.PictureSize = TSize{picture.Width(), picture.Height()};
    op.PictureRef = &picture;
    FOps.push_back(std::move(op));
  }
  void DrawText(const IFont& font, TColor color, const TRect& rect, rtl::StringView text, unsigned flags) override {
    TDrawOp op;
    op.Kind = TDrawOp::opText;
    op.Rect = rect;
    op.Color = color;
    op.Text = rtl::String(text);
    op.Font = static_cast<const THeadlessFont&>(font).Desc;
    op.Flags = flags;
    FOps.push_back(std::move(op));
  }
  void DrawButtonFrame(const TRect& rect, TButtonFrame state) override {
    TDrawOp op;
    op.Kind = TDrawOp::opFrame;
    op.Rect = rect;
    op.FrameState = state;
    FOps.push_back(std::move(op));
  }

 private:
  std::vector<TDrawOp>& FOps;
};

// Splits at CR LF, LF or CR.
std::vector<rtl::StringView> Lines(rtl::StringView text) {
  std::vector<rtl::StringView> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      lines.push_back(text.substr(start, i - start));
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      start = i + 1;
    }
  }
  lines.push_back(text.substr(start));
  return lines;
}

}  // namespace

// ---- THeadlessWindow

THeadlessWindow::THeadlessWindow(THeadlessWidgetset& owner, const TWindowParams& params, IWindowEvents& events)
    : FOwner(owner), FParams(params), FEvents(events), FCaption(params.Caption) {
  FParams.Icon = nullptr;  // valid during creation only
}

THeadlessWindow::~THeadlessWindow() { FOwner.Forget(this); }

void THeadlessWindow::Show() {
  FVisible = true;
  FInvalidated = true;
  ++FShowCount;
}

void THeadlessWindow::Hide() { FVisible = false; }

void THeadlessWindow::Invalidate(const TRect&) { FInvalidated = true; }

// ---- THeadlessWidgetset

THeadlessWidgetset::~THeadlessWidgetset() = default;

TFontRef THeadlessWidgetset::CreateFont(const TFontDesc& desc) { return std::make_shared<THeadlessFont>(desc); }

TSize THeadlessWidgetset::MeasureText(const IFont& font, rtl::StringView text, int wrapWidth, unsigned flags) {
  const auto& f = static_cast<const THeadlessFont&>(font);
  const int cw = f.CharWidth();
  const bool wrap = (flags & tfWordWrap) != 0 && wrapWidth > 0;
  int width = 0;
  int lines = 0;
  for (rtl::StringView line : Lines(text)) {
    if (!wrap) {
      width = std::max(width, static_cast<int>(line.size()) * cw);
      ++lines;
      continue;
    }
    // Greedy breaking at spaces; a word longer than the width stands alone.
    int current = 0;
    bool any = false;
    std::size_t i = 0;
    while (i <= line.size()) {
      std::size_t end = line.find(u' ', i);
      if (end == rtl::StringView::npos) end = line.size();
      int word = static_cast<int>(end - i) * cw;
      int needed = any ? current + cw + word : word;
      if (any && needed > wrapWidth) {
        width = std::max(width, current);
        ++lines;
        current = word;
      } else {
        current = needed;
      }
      any = true;
      i = end + 1;
    }
    width = std::max(width, current);
    ++lines;
  }
  return TSize{width, lines * f.LineHeight()};
}

std::unique_ptr<INativeWindow> THeadlessWidgetset::CreateWindow(const TWindowParams& params, IWindowEvents& events) {
  auto w = std::make_unique<THeadlessWindow>(*this, params, events);
  FWindows.push_back(w.get());
  return w;
}

void THeadlessWidgetset::Forget(THeadlessWindow* window) {
  FDestroyed.push_back(window->Caption());
  FWindows.erase(std::remove(FWindows.begin(), FWindows.end(), window), FWindows.end());
}

THeadlessWindow* THeadlessWidgetset::FindWindow(rtl::StringView caption) const {
  for (auto* w : FWindows)
    if (w->Caption() == caption) return w;
  return nullptr;
}

int THeadlessWidgetset::ShowBox(const TBoxRequest& request) {
  TBoxRecord record;
  record.Request = request;
  for (auto* w : FWindows) record.WindowsEnabled.push_back(w->Enabled());
  FBoxes.push_back(std::move(record));
  if (BoxAnswerer) return BoxAnswerer(request);
  if (!BoxAnswers.empty()) {
    int answer = BoxAnswers.front();
    BoxAnswers.pop_front();
    return answer;
  }
  if (request.DefaultButton >= 0 && request.DefaultButton < static_cast<int>(request.Buttons.size()))
    return request.Buttons[static_cast<std::size_t>(request.DefaultButton)].Result;
  return request.CloseResult;
}

void THeadlessWidgetset::Run() { DrainPosted(); }

int THeadlessWidgetset::DrainPosted() {
  int count = 0;
  while (!FQuit && !FPosted.empty()) {
    auto callback = std::move(FPosted.front());
    FPosted.pop_front();
    callback();
    ++count;
  }
  return count;
}

void THeadlessWidgetset::Deliver(THeadlessWindow& window, const TInputEvent& event) { window.FEvents.Input(event); }

void THeadlessWidgetset::MovePointer(THeadlessWindow& window, TPoint p) {
  window.FPointer = p;
  TInputEvent e;
  e.Kind = TInputKind::PointerMove;
  e.Pos = p;
  e.Shift = FButtons;
  Deliver(window, e);
}

void THeadlessWidgetset::LeaveWindow(THeadlessWindow& window) {
  window.FPointer.reset();
  TInputEvent e;
  e.Kind = TInputKind::PointerLeave;
  Deliver(window, e);
}

static TShiftFlag ButtonFlag(TMouseButton b) {
  return b == mbLeft ? ssLeft : b == mbRight ? ssRight : ssMiddle;
}

void THeadlessWidgetset::PointerDown(THeadlessWindow& window, TPoint p, TMouseButton button) {
  window.FPointer = p;
  FButtons |= ButtonFlag(button);
  TInputEvent e;
  e.Kind = TInputKind::PointerDown;
  e.Pos = p;
  e.Button = button;
  e.Shift = FButtons;
  Deliver(window, e);
}

void THeadlessWidgetset::PointerUp(THeadlessWindow& window, TPoint p, TMouseButton button) {
  window.FPointer = p;
  TInputEvent e;
  e.Kind = TInputKind::PointerUp;
  e.Pos = p;
  e.Button = button;
  e.Shift = FButtons;
  FButtons = TShiftState::FromBits(FButtons.Bits() & ~ButtonFlag(button));
  Deliver(window, e);
}

void THeadlessWidgetset::Click(THeadlessWindow& window, TPoint p) {
  MovePointer(window, p);
  PointerDown(window, p);
  PointerUp(window, p);
}

void THeadlessWidgetset::KeyDown(THeadlessWindow& window, TKey key, TShiftState shift) {
  TInputEvent e;
  e.Kind = TInputKind::KeyDown;
  e.Key = key;
  e.Shift = shift;
  Deliver(window, e);
}

void THeadlessWidgetset::KeyUp(THeadlessWindow& window, TKey key, TShiftState shift) {
  TInputEvent e;
  e.Kind = TInputKind::KeyUp;
  e.Key = key;
  e.Shift = shift;
  Deliver(window, e);
}

void THeadlessWidgetset::PressKey(THeadlessWindow& window, TKey key, TShiftState shift) {
  KeyDown(window, key, shift);
  KeyUp(window, key, shift);
}

void THeadlessWidgetset::RequestClose(THeadlessWindow& window) {
  TInputEvent e;
  e.Kind = TInputKind::CloseRequested;
  Deliver(window, e);
}

const std::vector<TDrawOp>& THeadlessWidgetset::Paint(THeadlessWindow& window, std::optional<TRect> dirty) {
  FLastPaint.clear();
  TRecordingCanvas canvas(FLastPaint);
  window.FInvalidated = false;
  ++FPaintCount;
  window.FEvents.Paint(canvas, dirty ? *dirty : TRect{0, 0, window.FParams.ClientWidth, window.FParams.ClientHeight});
  return FLastPaint;
}

}  // namespace qor::forms::headless
