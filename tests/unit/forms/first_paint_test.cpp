// NOL_FIRST_PAINT: written once, after the first complete paint has returned and
// reached the screen, under a temporary name renamed into place.
#include <cstdlib>

#include "forms_fixture.h"

namespace qor::forms::testing {
namespace {

void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value ? value : "");
#else
  if (value)
    setenv(name, value, 1);
  else
    unsetenv(name);
#endif
}

constexpr const char16_t* kFile = u"C:\\tmp\\first-paint.txt";

class FirstPaintTest : public FormsTest {
 protected:
  void SetUp() override { SetEnv("NOL_FIRST_PAINT", "C:\\tmp\\first-paint.txt"); }
  void TearDown() override { SetEnv("NOL_FIRST_PAINT", nullptr); }
};

TEST_F(FirstPaintTest, WrittenOnceAfterTheFirstCompletePaint) {
  Fake.Files().AddDirectory(u"C:\\tmp");
  auto& form = App.CreateForm<TTestForm>();
  form.SetCaption(u"Квиллбокс");
  form.Show();
  auto& w = Win(form);

  Ws.Paint(w, Bounds(0, 0, 100, 100));  // a partial paint does not count
  Ws.DrainPosted();
  EXPECT_FALSE(Fake.Files().Contents(kFile));

  Ws.Paint(w);
  EXPECT_FALSE(Fake.Files().Contents(kFile));  // not inside the paint
  EXPECT_EQ(Ws.SyncCount(), 0);
  Ws.DrainPosted();
  EXPECT_EQ(Ws.SyncCount(), 1);
  ASSERT_TRUE(Fake.Files().Contents(kFile));
  EXPECT_EQ(*Fake.Files().Contents(kFile), "887x591\n\xD0\x9A\xD0\xB2\xD0\xB8\xD0\xBB\xD0\xBB\xD0\xB1\xD0\xBE\xD0\xBA\xD1\x81\n");
  EXPECT_FALSE(Fake.Files().Contents(rtl::String(kFile) + u".tmp"));

  Fake.Files().Delete(kFile);
  Ws.Paint(w);
  Ws.DrainPosted();
  EXPECT_FALSE(Fake.Files().Contents(kFile));  // once per program
}

TEST_F(FirstPaintTest, AnUnwritableFileIsIgnored) {
  // No folder C:\tmp: the program goes on without the file.
  auto& form = App.CreateForm<TTestForm>();
  form.Show();
  Ws.Paint(Win(form));
  Ws.DrainPosted();
  EXPECT_TRUE(Ws.Boxes().empty());
  EXPECT_EQ(Fake.Files().OpenFileCount(), 0);
}

}  // namespace
}  // namespace qor::forms::testing
