#pragma once
// Message boxes with the Windows flag and result values, and the texts the model
// puts into them.
#include "forms/widgetset.h"
#include "rtl/strings.h"

namespace qor::forms {

// Buttons.
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_RETRYCANCEL = 0x5;
// Icons.
inline constexpr unsigned MB_ICONHAND = 0x10;
inline constexpr unsigned MB_ICONERROR = 0x10;
inline constexpr unsigned MB_ICONSTOP = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONWARNING = 0x30;
inline constexpr unsigned MB_ICONASTERISK = 0x40;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
// Default button.
inline constexpr unsigned MB_DEFBUTTON1 = 0x000;
inline constexpr unsigned MB_DEFBUTTON2 = 0x100;
inline constexpr unsigned MB_DEFBUTTON3 = 0x200;

// Results.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// The box for MessageBox(text, caption, flags), with the standard English button
// captions ("OK", "Cancel", "&Yes", "&No", "&Abort", "&Retry", "&Ignore"). Closing
// it without a button answers Cancel where there is one, OK for a lone OK, and
// otherwise the last button (No for Yes/No).
TBoxRequest MessageBoxRequest(rtl::StringView text, rtl::StringView caption, unsigned flags,
                              INativeWindow* owner = nullptr);

// The default error display's text: a full stop is appended when the last
// character's code is above that of '.'.
rtl::String ErrorBoxText(rtl::StringView message);

}  // namespace qor::forms
