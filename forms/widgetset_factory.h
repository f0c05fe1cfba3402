#pragma once
// Each executable's main gets the toolkit the build picked through this one call;
// the backend linked in (nol_forms_system) defines it. Tests create the headless
// widgetset directly.
#include <memory>

#include "forms/widgetset.h"

namespace qor::forms {

// argc/argv may be handed to the toolkit (GTK reads its own options).
std::unique_ptr<IWidgetset> CreateSystemWidgetset(int* argc = nullptr, char*** argv = nullptr);

}  // namespace qor::forms
