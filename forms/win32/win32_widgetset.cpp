#include "forms/win32/win32_widgetset.h"

#include <deque>

#include "forms/win32/win32_box.h"
#include "forms/win32/win32_gdi.h"
#include "forms/win32/win32_window.h"
#include "rtl/exceptions.h"

namespace qor::forms::win32 {

namespace {

constexpr wchar_t kPostClass[] = L"QorPost";
constexpr UINT kRunPosted = WM_APP + 1;

class TWin32Widgetset final : public IWidgetset {
 public:
  TWin32Widgetset();
  ~TWin32Widgetset() override;

  TFontRef CreateFont(const TFontDesc& desc) override { return std::make_shared<TWin32Font>(desc); }
  TSize MeasureText(const IFont& font, rtl::StringView text, int wrapWidth, unsigned flags) override {
    return MeasureTextOn(FMeasureDC, static_cast<const TWin32Font&>(font), text, wrapWidth, flags);
  }
  std::unique_ptr<INativeWindow> CreateWindow(const TWindowParams& params, IWindowEvents& events) override {
    return std::make_unique<TWin32Window>(params, events);
  }
  int ShowBox(const TBoxRequest& request) override {
    HWND owner = request.Owner ? static_cast<TWin32Window*>(request.Owner)->Handle() : nullptr;
    return ShowWin32Box(owner, request);
  }
  void Run() override;
  void Quit() override;
  void Post(std::function<void()> callback) override;
  void Sync() override;
  std::optional<TColor> SystemColor(TSystemColor which) override {
    const COLORREF c = ::GetSysColor(which == TSystemColor::BtnFace ? COLOR_BTNFACE : COLOR_WINDOWTEXT);
    return TColor{GetRValue(c), GetGValue(c), GetBValue(c)};
  }

 private:
  static LRESULT CALLBACK PostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void RunPosted() noexcept;

  HDC FMeasureDC = nullptr;
  HWND FPostWindow = nullptr;
  std::deque<std::function<void()>> FPosted;
  bool FQuit = false;
};

TWin32Widgetset::TWin32Widgetset() {
  FMeasureDC = CreateCompatibleDC(nullptr);
  if (!FMeasureDC) throw rtl::EOSError(u"Cannot create a device context");
  // Posted callbacks travel as messages to a message-only window: unlike thread
  // messages they are not lost while a box or a system loop runs.
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &TWin32Widgetset::PostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kPostClass;
  RegisterClassExW(&wc);
  FPostWindow = CreateWindowExW(0, kPostClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  if (!FPostWindow) {
    DeleteDC(FMeasureDC);
    throw rtl::EOSError(u"Error creating window");
  }
  SetWindowLongPtrW(FPostWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TWin32Widgetset::~TWin32Widgetset() {
  SetWindowLongPtrW(FPostWindow, GWLP_USERDATA, 0);
  DestroyWindow(FPostWindow);
  DeleteDC(FMeasureDC);
}

LRESULT CALLBACK TWin32Widgetset::PostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunPosted) {
    if (auto* self = reinterpret_cast<TWin32Widgetset*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) self->RunPosted();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void TWin32Widgetset::RunPosted() noexcept {
  // One message per callback; a lost message (a full queue) is made up for by
  // the next one, which runs everything queued before it.
  std::size_t n = FPosted.size();
  while (n-- > 0 && !FPosted.empty()) {
    std::function<void()> callback = std::move(FPosted.front());
    FPosted.pop_front();
    try {
      if (callback) callback();
    } catch (...) {
      // The model's callbacks report their own errors; nothing may leave here.
    }
  }
}

void TWin32Widgetset::Post(std::function<void()> callback) {
  FPosted.push_back(std::move(callback));
  PostMessageW(FPostWindow, kRunPosted, 0, 0);
}

void TWin32Widgetset::Run() {
  MSG msg;
  while (!FQuit) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // Someone else asked the thread to end: pass it on after our loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  FQuit = false;
}

void TWin32Widgetset::Quit() {
  FQuit = true;
  PostMessageW(FPostWindow, WM_NULL, 0, 0);  // wakes the loop
}

void TWin32Widgetset::Sync() { GdiFlush(); }

}  // namespace

std::unique_ptr<IWidgetset> CreateWin32Widgetset() { return std::make_unique<TWin32Widgetset>(); }

void* WindowHandle(const INativeWindow& window) { return static_cast<const TWin32Window&>(window).Handle(); }

}  // namespace qor::forms::win32
