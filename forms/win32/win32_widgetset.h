#pragma once
// The raw Win32 widgetset: one window per form, double-buffered GDI painting with
// AlphaBlend and DrawTextW, message boxes that show exactly the program's texts.
#include <memory>

#include "forms/widgetset.h"

namespace qor::forms::win32 {

std::unique_ptr<IWidgetset> CreateWin32Widgetset();

// The HWND of a window made by this widgetset (for tests of the widgetset itself).
void* WindowHandle(const INativeWindow& window);

}  // namespace qor::forms::win32
