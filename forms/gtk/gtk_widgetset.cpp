#include "forms/gtk/gtk_widgetset.h"

#include "rtl/exceptions.h"

namespace qor::forms::gtk {

std::unique_ptr<IWidgetset> CreateGtkWidgetset(int*, char***) {
  throw rtl::EInvalidOperation(u"GTK widgetset not built yet");
}

}  // namespace qor::forms::gtk
