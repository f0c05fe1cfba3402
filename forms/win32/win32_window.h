#pragma once
// One form's native window: a fixed-size top-level window (main) or an owned tool
// window, painted double-buffered, its input handed to the model as plain events.
#include <optional>

#include "forms/widgetset.h"
#include "forms/win32/win32_gdi.h"

namespace qor::forms::win32 {

class TWin32Window final : public INativeWindow {
 public:
  // Raises EOSError when the window cannot be made.
  TWin32Window(const TWindowParams& params, IWindowEvents& events);
  ~TWin32Window() override;
  TWin32Window(const TWin32Window&) = delete;
  TWin32Window& operator=(const TWin32Window&) = delete;

  void Show() override;
  void Hide() override;
  void SetCaption(rtl::StringView caption) override;
  void SetEnabled(bool enabled) override;
  void Invalidate(const TRect& rect) override;
  void SetCursor(TCursor cursor) override;
  std::optional<TPoint> PointerPosition() const override;

  HWND Handle() const { return FHandle; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  void Pointer(TInputKind kind, LPARAM lParam, WPARAM keys, TMouseButton button = mbLeft);
  void Key(TInputKind kind, WPARAM key);
  void Place();
  void FitClientArea();

  TWindowParams FParams;  // the icon is not kept (valid during creation only)
  IWindowEvents& FEvents;
  HWND FHandle = nullptr;
  HWND FOwner = nullptr;
  HICON FIcon = nullptr;
  TCursor FCursor = crDefault;
  bool FPlaced = false;
  bool FTrackingLeave = false;
  TScratchBitmap FBackBuffer;
  TScratchBitmap FScratch;
};

}  // namespace qor::forms::win32
