#include "forms/win32/win32_window.h"

#include <algorithm>
#include <vector>

#include "forms/win32/win32_text.h"
#include "rtl/exceptions.h"

namespace qor::forms::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"QorForm";
// Single border, system menu and close only: no minimise, maximise or sizing.
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

DWORD ExStyleFor(const TWindowParams& p) {
  if (p.Kind == TWindowKind::Tool) return WS_EX_TOOLWINDOW;
  return p.TaskbarButton ? WS_EX_APPWINDOW : 0;
}

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

// Registered once per process, on first use.
const wchar_t* FormClass(WNDPROC proc) {
  static const bool registered = [proc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kFormClass;
    // No background brush: every paint covers what it updates.
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered ? kFormClass : nullptr;
}

// A 32-bit icon from premultiplied pixels (icons take straight alpha).
HICON MakeIcon(const TPicture& picture) {
  if (picture.Empty()) return nullptr;
  const int w = picture.Width(), h = picture.Height();
  BITMAPV5HEADER bi{};
  bi.bV5Size = sizeof bi;
  bi.bV5Width = w;
  bi.bV5Height = -h;
  bi.bV5Planes = 1;
  bi.bV5BitCount = 32;
  bi.bV5Compression = BI_BITFIELDS;
  bi.bV5RedMask = 0x00FF0000;
  bi.bV5GreenMask = 0x0000FF00;
  bi.bV5BlueMask = 0x000000FF;
  bi.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP color = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (!color || !bits) return nullptr;
  auto* out = static_cast<std::uint32_t*>(bits);
  const int stride = ((w + 15) / 16) * 2;  // mask rows are word-aligned
  std::vector<std::uint8_t> mask(static_cast<std::size_t>(stride) * h, 0);
  const std::uint32_t* in = picture.Pixels();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint32_t p = in[static_cast<std::size_t>(y) * w + x];
      std::uint32_t a = p >> 24;
      auto straight = [a](std::uint32_t c) { return a ? std::min<std::uint32_t>(255, (c * 255 + a / 2) / a) : 0; };
      out[static_cast<std::size_t>(y) * w + x] = (a << 24) | (straight((p >> 16) & 0xFF) << 16) |
                                                 (straight((p >> 8) & 0xFF) << 8) | straight(p & 0xFF);
      if (a == 0) mask[static_cast<std::size_t>(y) * stride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
  HBITMAP maskBitmap = CreateBitmap(w, h, 1, 1, mask.data());
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = maskBitmap;
  info.hbmColor = color;
  HICON icon = maskBitmap ? CreateIconIndirect(&info) : nullptr;
  if (maskBitmap) DeleteObject(maskBitmap);
  DeleteObject(color);
  return icon;
}

TShiftState MouseShift(WPARAM keys) {
  std::uint8_t bits = 0;
  if (keys & MK_SHIFT) bits |= ssShift;
  if (keys & MK_CONTROL) bits |= ssCtrl;
  if (keys & MK_LBUTTON) bits |= ssLeft;
  if (keys & MK_RBUTTON) bits |= ssRight;
  if (keys & MK_MBUTTON) bits |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) bits |= ssAlt;
  return TShiftState::FromBits(bits);
}

TShiftState KeyShift() {
  std::uint8_t bits = 0;
  if (GetKeyState(VK_SHIFT) < 0) bits |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) bits |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) bits |= ssAlt;
  if (GetKeyState(VK_LBUTTON) < 0) bits |= ssLeft;
  if (GetKeyState(VK_RBUTTON) < 0) bits |= ssRight;
  if (GetKeyState(VK_MBUTTON) < 0) bits |= ssMiddle;
  return TShiftState::FromBits(bits);
}

}  // namespace

TWin32Window::TWin32Window(const TWindowParams& params, IWindowEvents& events) : FParams(params), FEvents(events) {
  FParams.Icon = nullptr;
  const wchar_t* cls = FormClass(&TWin32Window::WindowProc);
  if (!cls) throw rtl::EOSError(u"Error creating window class");
  if (params.Owner) FOwner = static_cast<TWin32Window*>(params.Owner)->Handle();
  const DWORD exStyle = ExStyleFor(params);
  RECT r{0, 0, params.ClientWidth, params.ClientHeight};
  AdjustWindowRectEx(&r, kFormStyle, FALSE, exStyle);
  FHandle = CreateWindowExW(exStyle, cls, Wide(params.Caption), kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                            r.right - r.left, r.bottom - r.top, FOwner, nullptr, Instance(), this);
  if (!FHandle) throw rtl::EOSError(u"Error creating window");
  FitClientArea();
  FIcon = params.Icon ? MakeIcon(*params.Icon) : nullptr;
  HICON icon = FIcon ? FIcon : LoadIconW(Instance(), L"MAINICON");
  if (icon) {
    SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(FHandle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
}

TWin32Window::~TWin32Window() {
  if (FHandle) {
    // No more events reach the model from a window being destroyed.
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
  }
  if (FIcon) DestroyIcon(FIcon);
}

// The frame computed beforehand may differ from what the system draws (a caption
// of another height): correct the outer size until the client area is exact.
void TWin32Window::FitClientArea() {
  RECT client, window;
  if (!GetClientRect(FHandle, &client) || !GetWindowRect(FHandle, &window)) return;
  int dw = FParams.ClientWidth - (client.right - client.left);
  int dh = FParams.ClientHeight - (client.bottom - client.top);
  if (dw == 0 && dh == 0) return;
  SetWindowPos(FHandle, nullptr, 0, 0, window.right - window.left + dw, window.bottom - window.top + dh,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32Window::Place() {
  RECT w;
  if (!GetWindowRect(FHandle, &w)) return;
  const int width = w.right - w.left, height = w.bottom - w.top;
  RECT area;
  int x, y;
  if (FParams.Placement == TWindowPlacement::OwnerCenter && FOwner) {
    RECT o;
    GetWindowRect(FOwner, &o);
    x = o.left + ((o.right - o.left) - width) / 2;
    y = o.top + ((o.bottom - o.top) - height) / 2;
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromWindow(FOwner, MONITOR_DEFAULTTONEAREST), &mi);
    area = mi.rcWork;
  } else if (FParams.Placement != TWindowPlacement::Default) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
    area = mi.rcMonitor;
    x = area.left + ((area.right - area.left) - width) / 2;
    y = area.top + ((area.bottom - area.top) - height) / 2;
  } else {
    return;
  }
  // Keep the caption reachable.
  x = std::max<int>(area.left, std::min<int>(x, area.right - width));
  y = std::max<int>(area.top, std::min<int>(y, area.bottom - height));
  SetWindowPos(FHandle, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32Window::Show() {
  if (!FPlaced) {
    FPlaced = true;
    Place();
  }
  ShowWindow(FHandle, SW_SHOW);
}

void TWin32Window::Hide() { ShowWindow(FHandle, SW_HIDE); }

void TWin32Window::SetCaption(rtl::StringView caption) { SetWindowTextW(FHandle, Wide(rtl::String(caption))); }

void TWin32Window::SetEnabled(bool enabled) { EnableWindow(FHandle, enabled ? TRUE : FALSE); }

void TWin32Window::Invalidate(const TRect& rect) {
  RECT r = ToRECT(rect);
  InvalidateRect(FHandle, &r, FALSE);
}

void TWin32Window::SetCursor(TCursor cursor) {
  FCursor = cursor;
  // The system asks again on the next move; show the change at once when the
  // pointer is over this window.
  if (PointerPosition() || GetCapture() == FHandle)
    ::SetCursor(LoadCursorW(nullptr, FCursor == crHandPoint ? IDC_HAND : IDC_ARROW));
}

std::optional<TPoint> TWin32Window::PointerPosition() const {
  POINT pt;
  if (!GetCursorPos(&pt) || WindowFromPoint(pt) != FHandle) return std::nullopt;
  if (!ScreenToClient(FHandle, &pt)) return std::nullopt;
  RECT client;
  GetClientRect(FHandle, &client);
  if (!PtInRect(&client, pt)) return std::nullopt;
  return TPoint{pt.x, pt.y};
}

// ---- messages

LRESULT CALLBACK TWin32Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<TWin32Window*>(cs->lpCreateParams);
    self->FHandle = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TWin32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  // The model's events never throw; nothing of ours may cross the system's
  // frames either (that ends a 32-bit process).
  try {
    return self->Message(message, wParam, lParam);
  } catch (...) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

LRESULT TWin32Window::Message(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        ::SetCursor(LoadCursorW(nullptr, FCursor == crHandPoint ? IDC_HAND : IDC_ARROW));
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      if (!FTrackingLeave) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, FHandle, 0};
        FTrackingLeave = TrackMouseEvent(&tme) != FALSE;
      }
      Pointer(TInputKind::PointerMove, lParam, wParam);
      return 0;
    case WM_MOUSELEAVE: {
      FTrackingLeave = false;
      TInputEvent e;
      e.Kind = TInputKind::PointerLeave;
      e.Shift = KeyShift();
      FEvents.Input(e);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetCapture(FHandle);
      Pointer(TInputKind::PointerDown, lParam, wParam, mbLeft);
      return 0;
    case WM_LBUTTONUP:
      // Released before the model runs a click, which may open a box or a window.
      if (GetCapture() == FHandle) ReleaseCapture();
      Pointer(TInputKind::PointerUp, lParam, wParam, mbLeft);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      Pointer(TInputKind::PointerDown, lParam, wParam, mbRight);
      return 0;
    case WM_RBUTTONUP:
      Pointer(TInputKind::PointerUp, lParam, wParam, mbRight);
      return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      Pointer(TInputKind::PointerDown, lParam, wParam, mbMiddle);
      return 0;
    case WM_MBUTTONUP:
      Pointer(TInputKind::PointerUp, lParam, wParam, mbMiddle);
      return 0;
    case WM_KEYDOWN:
      Key(TInputKind::KeyDown, wParam);
      return 0;
    case WM_KEYUP:
      Key(TInputKind::KeyUp, wParam);
      return 0;
    case WM_SYSKEYDOWN:
      Key(TInputKind::KeyDown, wParam);
      break;  // the system's keys (Alt+F4, Alt+Space) still work
    case WM_SYSKEYUP:
      Key(TInputKind::KeyUp, wParam);
      break;
    case WM_CLOSE: {
      // The model decides; it destroys the window through this object.
      TInputEvent e;
      e.Kind = TInputKind::CloseRequested;
      FEvents.Input(e);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(FHandle, message, wParam, lParam);
}

void TWin32Window::Pointer(TInputKind kind, LPARAM lParam, WPARAM keys, TMouseButton button) {
  TInputEvent e;
  e.Kind = kind;
  e.Pos = TPoint{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  e.Button = button;
  e.Shift = MouseShift(keys);
  FEvents.Input(e);
}

void TWin32Window::Key(TInputKind kind, WPARAM key) {
  TInputEvent e;
  e.Kind = kind;
  e.Key = static_cast<TKey>(key);
  e.Shift = KeyShift();
  FEvents.Input(e);
}

void TWin32Window::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(FHandle, &ps);
  if (!dc) return;
  RECT dirty = ps.rcPaint;
  // Drawn into a memory bitmap of the whole client area and copied in one go,
  // so nothing flickers.
  if (!IsRectEmpty(&dirty) && FBackBuffer.Ensure(dc, FParams.ClientWidth, FParams.ClientHeight)) {
    if (HDC mem = CreateCompatibleDC(dc)) {
      HGDIOBJ old = SelectObject(mem, FBackBuffer.Handle());
      {
        TWin32Canvas canvas(mem, dirty, FScratch);
        FEvents.Paint(canvas, FromRECT(dirty));
      }
      BitBlt(dc, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, mem, dirty.left,
             dirty.top, SRCCOPY);
      SelectObject(mem, old);
      DeleteDC(mem);
    }
  }
  EndPaint(FHandle, &ps);
}

}  // namespace qor::forms::win32
