// The system's message box with the program's own texts: the buttons carry the
// captions given, whatever language the system speaks, and answer with their
// results. A thread timer looks at the open box from inside its loop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/win32/win32_box.h"
#include "forms/win32/win32_text.h"

namespace qor::forms::win32 {
namespace {

struct TSeenBox {
  std::wstring Caption, Text;
  std::vector<std::wstring> Buttons;  // texts of the visible buttons, in order of their ids
  int DefaultId = 0;
};

// What the timer saw, and the button it presses (0: close the box instead).
TSeenBox gSeen;
int gPress = 0;
int gTicks = 0;

BOOL CALLBACK CollectButton(HWND child, LPARAM) {
  wchar_t cls[32] = {};
  GetClassNameW(child, cls, 32);
  if (std::wstring(cls) != L"Button" || !IsWindowVisible(child)) return TRUE;
  wchar_t text[64] = {};
  GetWindowTextW(child, text, 64);
  gSeen.Buttons.push_back(text);
  if (GetWindowLongPtrW(child, GWL_STYLE) & BS_DEFPUSHBUTTON) gSeen.DefaultId = GetDlgCtrlID(child);
  return TRUE;
}

BOOL CALLBACK FindVisibleDialog(HWND w, LPARAM out) {
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (std::wstring(cls) != L"#32770" || !IsWindowVisible(w)) return TRUE;
  *reinterpret_cast<HWND*>(out) = w;
  return FALSE;
}

HWND FindBox() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindVisibleDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

void CALLBACK Inspect(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindBox();
  if (!box) {
    if (++gTicks > 500) KillTimer(nullptr, timer);  // no box came: let the test fail
    return;
  }
  KillTimer(nullptr, timer);
  wchar_t text[256] = {};
  GetWindowTextW(box, text, 256);
  gSeen.Caption = text;
  GetDlgItemTextW(box, 0xFFFF, text, 256);  // the static text of the message
  gSeen.Text = text;
  EnumChildWindows(box, CollectButton, 0);
  if (gPress)
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(gPress, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, gPress)));
  else
    PostMessageW(box, WM_CLOSE, 0, 0);
}

int Show(const TBoxRequest& request, int press) {
  gSeen = TSeenBox{};
  gPress = press;
  gTicks = 0;
  SetTimer(nullptr, 0, 10, Inspect);
  return ShowWin32Box(nullptr, request);
}

TBoxRequest Request(std::vector<TBoxButton> buttons, int defaultButton, int closeResult) {
  TBoxRequest r;
  r.Icon = TBoxIcon::Warning;
  r.Caption = u"Warning";
  r.Text = u"Вы действительно хотите полностью переустановить программу?";
  r.Buttons = std::move(buttons);
  r.DefaultButton = defaultButton;
  r.CloseResult = closeResult;
  return r;
}

TEST(Win32Box, ShowsExactlyTheProgramsTexts) {
  // Texts no system uses for its own buttons.
  TBoxRequest r = Request({{u"&Так", IDYES}, {u"&Ні", IDNO}}, 1, IDNO);
  EXPECT_EQ(Show(r, IDYES), IDYES);
  EXPECT_EQ(gSeen.Caption, L"Warning");
  EXPECT_EQ(gSeen.Text, L"Вы действительно хотите полностью переустановить программу?");
  EXPECT_EQ(gSeen.Buttons, (std::vector<std::wstring>{L"&Так", L"&Ні"}));
  EXPECT_EQ(gSeen.DefaultId, IDNO);

  // The standard English captions stay English on any system.
  r = Request({{u"&Yes", IDYES}, {u"&No", IDNO}}, 0, IDNO);
  EXPECT_EQ(Show(r, IDNO), IDNO);
  EXPECT_EQ(gSeen.Buttons, (std::vector<std::wstring>{L"&Yes", L"&No"}));
  EXPECT_EQ(gSeen.DefaultId, IDYES);
}

TEST(Win32Box, AnswersWithTheChosenButtonsResult) {
  // Results that are not the system's identifiers are mapped by position.
  TBoxRequest r = Request({{u"Перший", 100}, {u"Другий", 200}}, 0, -1);
  EXPECT_EQ(Show(r, IDNO), 200);
  EXPECT_EQ(gSeen.Buttons, (std::vector<std::wstring>{L"Перший", L"Другий"}));

  // A lone OK: closing the box answers OK, as the system does.
  TBoxRequest ok;
  ok.Icon = TBoxIcon::Information;
  ok.Caption = u"Information";
  ok.Text = u"Для обновления необходимо закрыть саму программу!";
  ok.Buttons = {{u"OK", IDOK}};
  ok.CloseResult = IDOK;
  EXPECT_EQ(Show(ok, 0), IDOK);
  EXPECT_EQ(gSeen.Caption, L"Information");
  EXPECT_EQ(gSeen.Buttons, (std::vector<std::wstring>{L"OK"}));

  // OK and Cancel: closing answers the close result.
  TBoxRequest okCancel = Request({{u"OK", IDOK}, {u"Cancel", IDCANCEL}}, 0, IDCANCEL);
  EXPECT_EQ(Show(okCancel, 0), IDCANCEL);
}

}  // namespace
}  // namespace qor::forms::win32
