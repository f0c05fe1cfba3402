// The launcher's running-instance probe against the named mutexes of the real
// system (POSIX locks natively, Win32 mutexes under Wine), held by another process.
#include "launcher/nol_cdrun_core.h"
#include "launcher/nol_cdrun_exec.h"
#include "platform/command_line.h"
#include "tests/platform/system_platform_fixture.h"

namespace qor::platform::testing {
namespace {

class SystemIsAppRunning : public SystemPlatformTest {};

TEST_F(SystemIsAppRunning, SeesAnotherHolderUnderTheUpperCaseNameAndHoldsNothing) {
  const rtl::String name = u"NOL_PROBE_" + rtl::IntToStr(P().Clock().ProcessId());
  const rtl::String lower = rtl::LowerCase(name);
  EXPECT_FALSE(IsAppRunning(name));
  EXPECT_FALSE(IsAppRunning(lower));
  const fs::path ready = Dir() / "ready", release = Dir() / "release";
  const rtl::String line = QuoteArgument(Str(Tool("nol_hold_mutex"))) + u" " + name + u" " +
                           QuoteArgument(Str(ready)) + u" " + QuoteArgument(Str(release));
  ASSERT_TRUE(RunProcess(line, SW_SHOWNORMAL));
  ASSERT_TRUE(WaitFor([&] { return fs::exists(ready); })) << "the holder did not start";
  EXPECT_TRUE(IsAppRunning(name));
  EXPECT_TRUE(IsAppRunning(lower));
  WriteBytes(release, "");
  // The probes held nothing: once the holder goes, the name is free.
  EXPECT_TRUE(WaitFor([&] { return !IsAppRunning(name); })) << "the name stayed held after the holder ended";
  EXPECT_FALSE(IsAppRunning(lower));
}

}  // namespace
}  // namespace qor::platform::testing
