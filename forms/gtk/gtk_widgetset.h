#pragma once
// The GTK 3 widgetset: one GtkDrawingArea per window, cairo and Pango.
#include <memory>

#include "forms/widgetset.h"

namespace qor::forms::gtk {

// Calls gtk_init (argc/argv may be null). Raises EInvalidOperation when no
// display can be opened.
std::unique_ptr<IWidgetset> CreateGtkWidgetset(int* argc, char*** argv);

}  // namespace qor::forms::gtk
