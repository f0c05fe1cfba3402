// Named mutexes of the real system, held by a second process.
#include "launcher/nol_cdrun_exec.h"
#include "platform/command_line.h"
#include "tests/platform/system_platform_fixture.h"

namespace qor::platform::testing {
namespace {

class SystemMutexes : public SystemPlatformTest {
 protected:
  // The probe of the launcher: create, read the error, close at once.
  bool Exists(rtl::StringView name) {
    TSysError error = 0;
    const THandle h = P().Mutexes().Create(name, error);
    P().Mutexes().Close(h);
    return h != kNoHandle && error == kErrorAlreadyExists;
  }
  rtl::String UniqueName(const char* what) {
    return u"NOL_TEST_" + rtl::Utf8ToString(what) + u"_" + rtl::IntToStr(P().Clock().ProcessId());
  }
};

TEST_F(SystemMutexes, AProbeOfAFreeNameFindsNothingAndLeavesNothing) {
  const rtl::String name = UniqueName("FREE");
  EXPECT_FALSE(Exists(name));
  EXPECT_FALSE(Exists(name));
}

TEST_F(SystemMutexes, AHandleHoldsTheNameUntilClosed) {
  const rtl::String name = UniqueName("HELD");
  TSysError error = 1;
  const THandle held = P().Mutexes().Create(name, error);
  ASSERT_NE(held, kNoHandle);
  EXPECT_EQ(error, kErrorSuccess);
  EXPECT_TRUE(Exists(name));
  EXPECT_FALSE(Exists(UniqueName("held")));  // names are case-sensitive
  P().Mutexes().Close(held);
  EXPECT_FALSE(Exists(name));
}

TEST_F(SystemMutexes, AnotherProcessHoldingTheNameIsSeenUntilItLetsGo) {
  const rtl::String name = UniqueName("OTHER");
  const fs::path ready = Dir() / "ready", release = Dir() / "release";
  const rtl::String line = QuoteArgument(Str(Tool("nol_hold_mutex"))) + u" " + name + u" " +
                           QuoteArgument(Str(ready)) + u" " + QuoteArgument(Str(release));
  ASSERT_TRUE(RunProcess(line, SW_SHOWNORMAL));
  ASSERT_TRUE(WaitFor([&] { return fs::exists(ready); })) << "the holder did not start";
  EXPECT_TRUE(Exists(name));
  WriteBytes(release, "");
  EXPECT_TRUE(WaitFor([&] { return !Exists(name); })) << "the name stayed held after the holder ended";
}

TEST_F(SystemMutexes, AHolderThatDiesReleasesTheName) {
  const rtl::String name = UniqueName("DEAD");
  const fs::path ready = Dir() / "ready", die = Dir() / "die";
  const rtl::String line = QuoteArgument(Str(Tool("nol_hold_mutex"))) + u" " + name + u" " +
                           QuoteArgument(Str(ready)) + u" " + QuoteArgument(Str(Dir() / "release")) + u" " +
                           QuoteArgument(Str(die));
  ASSERT_TRUE(RunProcess(line, SW_SHOWNORMAL));
  ASSERT_TRUE(WaitFor([&] { return fs::exists(ready); }));
  EXPECT_TRUE(Exists(name));
  WriteBytes(die, "");
  EXPECT_TRUE(WaitFor([&] { return !Exists(name); })) << "a dead holder kept the name";
}

}  // namespace
}  // namespace qor::platform::testing
