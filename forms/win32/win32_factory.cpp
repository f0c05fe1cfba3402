#include "forms/widgetset_factory.h"
#include "forms/win32/win32_widgetset.h"

namespace qor::forms {

std::unique_ptr<IWidgetset> CreateSystemWidgetset(int*, char***) { return win32::CreateWin32Widgetset(); }

}  // namespace qor::forms
