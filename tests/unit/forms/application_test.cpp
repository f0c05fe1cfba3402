#include <gtest/gtest.h>

#include "forms/application.h"
#include "forms/headless/headless_widgetset.h"

namespace qor::forms {
namespace {

TEST(FormsSmoke, CreatesMainForm) {
  headless::THeadlessWidgetset ws;
  TApplication app(ws);
  TForm& form = app.CreateForm<TForm>();
  EXPECT_EQ(app.MainForm(), &form);
}

}  // namespace
}  // namespace qor::forms
