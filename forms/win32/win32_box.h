#pragma once
// The modal box: the system's message box with the program's own caption, text
// and button texts, whatever language the system speaks.
#include "forms/widgetset.h"
#include "forms/win32/win32_api.h"

namespace qor::forms::win32 {

// Returns the Result of the chosen button, or the request's CloseResult.
int ShowWin32Box(HWND owner, const TBoxRequest& request);

}  // namespace qor::forms::win32
