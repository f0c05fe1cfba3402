#include "forms/gtk/gtk_widgetset.h"
#include "forms/widgetset_factory.h"

namespace qor::forms {

std::unique_ptr<IWidgetset> CreateSystemWidgetset(int* argc, char*** argv) {
  return gtk::CreateGtkWidgetset(argc, argv);
}

}  // namespace qor::forms
