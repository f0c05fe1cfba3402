// The update folder rule and the running-instance probe.
#include <gtest/gtest.h>

#include <vector>

#include "launcher/nol_cdrun_core.h"
#include "platform/fake/fake_platform.h"

namespace qor::testing {
namespace {

// Only a last element "bin" (any letter case) becomes "upd"; other folders, and
// "bin" inside other names, stay as they are.
TEST(UpdateFolder, ReplacesOnlyALastBinElement) {
  struct TCase {
    rtl::StringView Program, Expected;
  };
  for (const TCase& c : std::vector<TCase>{
           {u"D:\\bin\\setup.exe", u"D:\\upd"},
           {u"D:\\BIN\\setup.exe", u"D:\\upd"},
           {u"D:\\Bin\\setup.exe", u"D:\\upd"},
           {u"D:\\cabinet\\bin\\setup.exe", u"D:\\cabinet\\upd"},
           {u"D:\\bin\\tools\\setup.exe", u"D:\\bin\\tools"},
           {u"D:\\robin\\setup.exe", u"D:\\robin"},
           {u"D:\\bin.old\\setup.exe", u"D:\\bin.old"},
           {u"D:\\tools\\setup.exe", u"D:\\tools"},
           {u"D:\\setup.exe", u"D:\\"},
           {u"/media/cd/bin/nol_cdrun", u"/media/cd/upd"},
           {u"/media/cabinet/BIN/nol_cdrun", u"/media/cabinet/upd"},
           {u"/nol_cdrun", u"/"},
           {u"C:\\cd/bin/nol_cdrun.exe", u"C:\\cd/upd"},
       }) {
    EXPECT_EQ(UpdateFolder(c.Program), c.Expected) << rtl::StringToUtf8(c.Program);
  }
}

class IsAppRunningTest : public ::testing::Test {
 protected:
  platform::fake::TFakePlatform Platform;
  platform::TScopedPlatform Scoped{Platform};
};

TEST_F(IsAppRunningTest, ProbesTheUpperCaseNameAndHoldsNothing) {
  EXPECT_FALSE(IsAppRunning(u"nol_running"));
  Platform.Mutexes().Hold(u"NOL_RUNNING");
  EXPECT_TRUE(IsAppRunning(u"nol_running"));
  EXPECT_EQ(Platform.Mutexes().Created(), (std::vector<rtl::String>{u"NOL_RUNNING", u"NOL_RUNNING"}));
  EXPECT_EQ(Platform.Mutexes().OpenHandleCount(), 0);
  EXPECT_FALSE(Platform.Mutexes().IsHeld(u"VEX7420_RUNNING"));
}

// A creation refused for another reason reports "not running".
TEST_F(IsAppRunningTest, DeniedCreationIsNotRunning) {
  Platform.Mutexes().Deny(u"VEX7420_RUNNING");
  EXPECT_FALSE(IsAppRunning(u"VEX7420_RUNNING"));
  EXPECT_EQ(Platform.Mutexes().OpenHandleCount(), 0);
}

}  // namespace
}  // namespace qor::testing
