// MessageBoxW names its buttons in the system's language. A CBT hook on this
// thread sees the box as it is activated, before it is painted, and gives each
// button the program's text; the box keeps its system icon, sound and keys.
#include "forms/win32/win32_box.h"

#include <array>
#include <cwchar>

#include "forms/win32/win32_text.h"

namespace qor::forms::win32 {

namespace {

// The system's button sets and the identifiers of their buttons, in order.
struct TButtonSet {
  UINT Type;
  int Count;
  std::array<int, 3> Ids;
};
constexpr std::array<TButtonSet, 6> kButtonSets = {{
    {MB_OK, 1, {IDOK, 0, 0}},
    {MB_OKCANCEL, 2, {IDOK, IDCANCEL, 0}},
    {MB_YESNO, 2, {IDYES, IDNO, 0}},
    {MB_RETRYCANCEL, 2, {IDRETRY, IDCANCEL, 0}},
    {MB_YESNOCANCEL, 3, {IDYES, IDNO, IDCANCEL}},
    {MB_ABORTRETRYIGNORE, 3, {IDABORT, IDRETRY, IDIGNORE}},
}};

// The set whose identifiers are the requested results in their order (the
// system's closing rules then match the model's); otherwise one by the number of
// buttons, whose identifiers are mapped back to the buttons by position.
const TButtonSet& ChooseButtonSet(const TBoxRequest& request) {
  const int n = static_cast<int>(request.Buttons.size());
  for (const TButtonSet& set : kButtonSets) {
    if (set.Count != n) continue;
    bool same = true;
    for (int i = 0; i < n; ++i) same = same && request.Buttons[static_cast<std::size_t>(i)].Result == set.Ids[static_cast<std::size_t>(i)];
    if (same) return set;
  }
  if (n <= 1) return kButtonSets[0];
  if (n == 2) return kButtonSets[2];
  return kButtonSets[4];
}

UINT IconFlag(TBoxIcon icon) {
  switch (icon) {
    case TBoxIcon::Error: return MB_ICONERROR;
    case TBoxIcon::Warning: return MB_ICONWARNING;
    case TBoxIcon::Information: return MB_ICONINFORMATION;
    case TBoxIcon::Question: return MB_ICONQUESTION;
    case TBoxIcon::None: break;
  }
  return 0;
}

struct TBoxHook {
  const TBoxRequest* Request = nullptr;
  const TButtonSet* Set = nullptr;
  HHOOK Hook = nullptr;
  bool Renamed = false;
};
// The box being opened on this thread (boxes may nest: a posted callback can run
// inside a box's loop and open another).
thread_local TBoxHook* tOpening = nullptr;

bool IsDialog(HWND hwnd) {
  wchar_t name[16] = {};
  return GetClassNameW(hwnd, name, 16) > 0 && std::wcscmp(name, L"#32770") == 0;
}

LRESULT CALLBACK BoxHookProc(int code, WPARAM wParam, LPARAM lParam) {
  TBoxHook* hook = tOpening;
  if (!hook) return CallNextHookEx(nullptr, code, wParam, lParam);
  if (code == HCBT_ACTIVATE && !hook->Renamed) {
    HWND box = reinterpret_cast<HWND>(wParam);
    if (IsDialog(box) && GetDlgItem(box, hook->Set->Ids[0])) {
      hook->Renamed = true;
      const auto& buttons = hook->Request->Buttons;
      for (int i = 0; i < hook->Set->Count && i < static_cast<int>(buttons.size()); ++i)
        SetDlgItemTextW(box, hook->Set->Ids[static_cast<std::size_t>(i)], Wide(buttons[static_cast<std::size_t>(i)].Caption));
    }
  }
  return CallNextHookEx(hook->Hook, code, wParam, lParam);
}

}  // namespace

int ShowWin32Box(HWND owner, const TBoxRequest& request) {
  const TButtonSet& set = ChooseButtonSet(request);
  UINT type = set.Type | IconFlag(request.Icon);
  const int count = static_cast<int>(request.Buttons.size());
  if (request.DefaultButton > 0 && request.DefaultButton < std::min(count, set.Count))
    type |= static_cast<UINT>(request.DefaultButton) * MB_DEFBUTTON2;
  if (!owner) type |= MB_SETFOREGROUND;
  // The system box disables its owner itself and re-enables it before it goes, so
  // the owner is active again afterwards; the model keeps the other forms disabled.
  if (owner && !IsWindowEnabled(owner)) EnableWindow(owner, TRUE);

  TBoxHook hook;
  hook.Request = &request;
  hook.Set = &set;
  TBoxHook* outer = tOpening;
  tOpening = &hook;
  if (count > 0) hook.Hook = SetWindowsHookExW(WH_CBT, BoxHookProc, nullptr, GetCurrentThreadId());
  int id = MessageBoxW(owner, Wide(request.Text), Wide(request.Caption), type);
  if (hook.Hook) UnhookWindowsHookEx(hook.Hook);
  tOpening = outer;

  for (int i = 0; i < set.Count && i < count; ++i)
    if (set.Ids[static_cast<std::size_t>(i)] == id) return request.Buttons[static_cast<std::size_t>(i)].Result;
  return request.CloseResult;
}

}  // namespace qor::forms::win32
