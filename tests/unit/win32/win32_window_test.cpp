// The Win32 widgetset's windows and loop: frame and size, owner and placement,
// input handed to the model as plain events, posted callbacks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/win32/win32_widgetset.h"
#include "forms/win32/win32_api.h"

namespace qor::forms::win32 {
namespace {

class TRecorder final : public IWindowEvents {
 public:
  void Paint(ICanvas&, const TRect& dirty) noexcept override { Paints.push_back(dirty); }
  void Input(const TInputEvent& event) noexcept override { Inputs.push_back(event); }
  std::vector<TRect> Paints;
  std::vector<TInputEvent> Inputs;
};

HWND Hwnd(const INativeWindow& w) { return static_cast<HWND>(WindowHandle(w)); }

TSize ClientSize(HWND h) {
  RECT r;
  GetClientRect(h, &r);
  return TSize{r.right - r.left, r.bottom - r.top};
}

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class Win32WindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<INativeWindow> MakeMain(int w = 887, int h = 591) {
    TWindowParams p;
    p.Kind = TWindowKind::Main;
    p.ClientWidth = w;
    p.ClientHeight = h;
    p.Caption = u"Квиллбокс «ЛОРАНТА»";
    p.Placement = TWindowPlacement::ScreenCenter;
    return Ws->CreateWindow(p, MainEvents);
  }
  std::unique_ptr<INativeWindow> MakeTool(INativeWindow& owner) {
    TWindowParams p;
    p.Kind = TWindowKind::Tool;
    p.Owner = &owner;
    p.ClientWidth = 601;
    p.ClientHeight = 400;
    p.Caption = u"Презентацiйнi матерiали на CD";
    p.TaskbarButton = false;
    p.Placement = TWindowPlacement::OwnerCenter;
    return Ws->CreateWindow(p, ToolEvents);
  }
  // Runs what is queued for this thread's windows.
  static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  std::unique_ptr<IWidgetset> Ws = CreateWin32Widgetset();
  TRecorder MainEvents, ToolEvents;
};

TEST_F(Win32WindowTest, MainWindowHasAFixedFrameAndTheExactClientArea) {
  auto main = MakeMain();
  HWND h = Hwnd(*main);
  EXPECT_EQ(ClientSize(h), (TSize{887, 591}));
  const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
  const LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(ex & WS_EX_APPWINDOW);  // the taskbar button
  EXPECT_FALSE(ex & WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindow(h, GW_OWNER), nullptr);
  wchar_t caption[64] = {};
  GetWindowTextW(h, caption, 64);
  EXPECT_STREQ(caption, L"Квиллбокс «ЛОРАНТА»");
  main->SetCaption(u"Квиллбокс");
  GetWindowTextW(h, caption, 64);
  EXPECT_STREQ(caption, L"Квиллбокс");

  // Centred on the primary screen when first shown.
  main->Show();
  EXPECT_TRUE(IsWindowVisible(h));
  RECT w;
  GetWindowRect(h, &w);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
  if (mi.rcMonitor.right - mi.rcMonitor.left >= w.right - w.left) {
    EXPECT_NEAR(Centre(w).x, Centre(mi.rcMonitor).x, 1);
    EXPECT_NEAR(Centre(w).y, Centre(mi.rcMonitor).y, 1);
  }
  main->Hide();
  EXPECT_FALSE(IsWindowVisible(h));
  main.reset();
  EXPECT_FALSE(IsWindow(h));
}

TEST_F(Win32WindowTest, ToolWindowIsOwnedAndCentredOverItsOwner) {
  auto main = MakeMain();
  main->Show();
  auto tool = MakeTool(*main);
  HWND t = Hwnd(*tool);
  EXPECT_EQ(ClientSize(t), (TSize{601, 400}));
  EXPECT_EQ(GetWindow(t, GW_OWNER), Hwnd(*main));
  const LONG_PTR style = GetWindowLongPtrW(t, GWL_STYLE);
  EXPECT_TRUE(GetWindowLongPtrW(t, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  tool->Show();
  RECT o, w;
  GetWindowRect(Hwnd(*main), &o);
  GetWindowRect(t, &w);
  EXPECT_NEAR(Centre(w).x, Centre(o).x, 1);
  EXPECT_NEAR(Centre(w).y, Centre(o).y, 1);
  // The owner is destroyed after what it owns (the model's order).
  tool.reset();
  EXPECT_FALSE(IsWindow(t));
  EXPECT_TRUE(IsWindow(Hwnd(*main)));
}

TEST_F(Win32WindowTest, InputReachesTheModelAsPlainEvents) {
  auto main = MakeMain(200, 100);
  HWND h = Hwnd(*main);
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(10, 20));
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(11, 21));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(12, 22));
  SendMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(13, 23));
  SendMessageW(h, WM_KEYDOWN, VK_ESCAPE, 0);
  SendMessageW(h, WM_KEYUP, VK_ESCAPE, 0);
  SendMessageW(h, WM_MOUSELEAVE, 0, 0);
  ASSERT_EQ(MainEvents.Inputs.size(), 7u);
  const auto& e = MainEvents.Inputs;
  EXPECT_EQ(e[0].Kind, TInputKind::PointerMove);
  EXPECT_EQ(e[0].Pos, (TPoint{10, 20}));
  EXPECT_EQ(e[1].Kind, TInputKind::PointerDown);
  EXPECT_EQ(e[1].Button, mbLeft);
  EXPECT_EQ(e[1].Pos, (TPoint{11, 21}));
  EXPECT_TRUE(e[1].Shift.Contains(ssShift));
  EXPECT_TRUE(e[1].Shift.Contains(ssLeft));
  EXPECT_EQ(e[2].Kind, TInputKind::PointerUp);
  EXPECT_EQ(e[2].Button, mbLeft);
  EXPECT_NE(GetCapture(), h);  // released before the model runs the click
  EXPECT_EQ(e[3].Kind, TInputKind::PointerDown);
  EXPECT_EQ(e[3].Button, mbRight);
  EXPECT_EQ(e[4].Kind, TInputKind::KeyDown);
  EXPECT_EQ(e[4].Key, 27);
  EXPECT_EQ(e[5].Kind, TInputKind::KeyUp);
  EXPECT_EQ(e[5].Key, 27);
  EXPECT_EQ(e[6].Kind, TInputKind::PointerLeave);

  // Closing is the model's decision: the window stays until the object goes.
  SendMessageW(h, WM_CLOSE, 0, 0);
  ASSERT_EQ(MainEvents.Inputs.size(), 8u);
  EXPECT_EQ(MainEvents.Inputs.back().Kind, TInputKind::CloseRequested);
  EXPECT_TRUE(IsWindow(h));
}

TEST_F(Win32WindowTest, CursorOverTheClientAreaIsTheOneTheModelSet) {
  auto main = MakeMain(200, 100);
  HWND h = Hwnd(*main);
  main->SetCursor(crHandPoint);
  EXPECT_EQ(SendMessageW(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  main->SetCursor(crDefault);
  SendMessageW(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(Win32WindowTest, PaintsWhatWasInvalidated) {
  auto main = MakeMain(200, 100);
  main->Show();
  UpdateWindow(Hwnd(*main));
  ASSERT_FALSE(MainEvents.Paints.empty());
  EXPECT_EQ(MainEvents.Paints.back(), (TRect{0, 0, 200, 100}));
  main->Invalidate(TRect{10, 10, 20, 30});
  UpdateWindow(Hwnd(*main));
  EXPECT_EQ(MainEvents.Paints.back(), (TRect{10, 10, 20, 30}));
}

TEST_F(Win32WindowTest, DisablingTheWindow) {
  auto main = MakeMain(200, 100);
  main->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(Hwnd(*main)));
  main->SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(Hwnd(*main)));
}

TEST_F(Win32WindowTest, PostedCallbacksRunInOrderAfterTheCurrentEvent) {
  std::string order;
  Ws->Post([&] {
    order += 'a';
    // Posted from a callback: runs after those already queued.
    Ws->Post([&] {
      order += 'd';
      Ws->Quit();
    });
  });
  Ws->Post([&] { order += 'b'; });
  Ws->Post([&] { order += 'c'; });
  EXPECT_EQ(order, "");
  Ws->Run();
  EXPECT_EQ(order, "abcd");

  // Quit before Run: the loop returns at once, and the next one runs again.
  Ws->Quit();
  Ws->Run();
  Ws->Post([&] {
    order += 'e';
    Ws->Quit();
  });
  Ws->Run();
  EXPECT_EQ(order, "abcde");
}

}  // namespace
}  // namespace qor::forms::win32
