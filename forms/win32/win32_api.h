#pragma once
// windows.h for the widgetset. Include it after the form model's headers: those
// declare names (VK_ESCAPE, MB_OK, RGB) that windows.h defines as macros. The
// macros that would rename the model's own operations are removed here; the code
// calls the wide functions by their W names.
#include <windows.h>

#undef CreateWindow
#undef CreateFont
#undef DrawText
#undef MessageBox
#undef RGB
