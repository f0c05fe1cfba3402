// RunProcess and ShellOpen against the process and shell logs of the fake.
#include <gtest/gtest.h>

#include "launcher/nol_cdrun_exec.h"
#include "platform/fake/fake_platform.h"

namespace qor {
namespace {

class Launching : public ::testing::Test {
 protected:
  platform::fake::TFakePlatform FPlatform;
  platform::TScopedPlatform FInstalled{FPlatform};
  platform::fake::TFakeProcesses& Processes() { return FPlatform.Processes(); }
};

TEST_F(Launching, RunProcessCreatesWaitsForInputIdleAndClosesBothHandles) {
  const std::u16string line = u"\"D:\\CD\\nol_setup.exe\" /silent";
  EXPECT_TRUE(RunProcess(line, platform::SW_SHOWNORMAL));
  ASSERT_EQ(Processes().Calls().size(), 1u);
  const auto& call = Processes().Calls()[0];
  EXPECT_EQ(call.CommandLine, line);
  EXPECT_FALSE(call.InheritHandles);
  EXPECT_EQ(call.CreationFlags, 0x20u);  // NORMAL_PRIORITY_CLASS only
  EXPECT_EQ(call.Startup.Flags, 1u);     // STARTF_USESHOWWINDOW
  EXPECT_EQ(call.Startup.ShowWindow, 1u);
  ASSERT_EQ(Processes().Waits().size(), 1u);
  EXPECT_EQ(Processes().Waits()[0].second, 0xFFFFFFFFu);  // no time limit
  EXPECT_EQ(Processes().OpenHandleCount(), 0);
}

TEST_F(Launching, RunProcessHandsOverAPrivateWritableCopy) {
  // The fake overwrites the buffer it gets, as process creation may.
  const std::u16string line = u"notepad.exe readme.txt";
  const std::u16string copy = line;
  EXPECT_TRUE(RunProcess(line, platform::SW_SHOW));
  EXPECT_EQ(line, copy);
  EXPECT_EQ(Processes().Calls()[0].Startup.ShowWindow, 5u);
}

TEST_F(Launching, RunProcessIgnoresTheOutcomeOfTheWait) {
  Processes().WaitResult = platform::kWaitFailed;  // a console program
  EXPECT_TRUE(RunProcess(u"tool.exe", platform::SW_SHOWNORMAL));
  EXPECT_EQ(Processes().OpenHandleCount(), 0);
}

TEST_F(Launching, FailedCreationGivesFalseAndNothingElse) {
  Processes().Succeeds = [](const std::u16string&) { return false; };
  EXPECT_FALSE(RunProcess(u"missing.exe", platform::SW_SHOWNORMAL));
  EXPECT_TRUE(Processes().Waits().empty());
  EXPECT_EQ(Processes().OpenHandleCount(), 0);
}

TEST_F(Launching, ShellOpenPassesTheOpenVerbAndOnlyWhatIsGiven) {
  ShellOpen(u"..\\pdf\\loranta.pdf", std::nullopt, std::nullopt, platform::SW_SHOWNORMAL);
  ShellOpen(u"D:\\Q\\bin\\qor7420main.exe", u"/update /update_path \"E:\\upd\\\"", u"D:\\Q\\bin",
            platform::SW_SHOWMAXIMIZED);
  const auto& calls = FPlatform.Shell().Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].Verb, u"open");
  EXPECT_EQ(calls[0].File, u"..\\pdf\\loranta.pdf");
  EXPECT_FALSE(calls[0].Parameters.has_value());
  EXPECT_FALSE(calls[0].Directory.has_value());
  EXPECT_EQ(calls[0].ShowCmd, 1);
  EXPECT_EQ(calls[1].Parameters, u"/update /update_path \"E:\\upd\\\"");
  EXPECT_EQ(calls[1].Directory, u"D:\\Q\\bin");
  EXPECT_EQ(calls[1].ShowCmd, 3);
}

TEST_F(Launching, ShellFailureIsNotExamined) {
  FPlatform.Shell().Result = 2;  // file not found
  EXPECT_NO_THROW(ShellOpen(u"missing.chm", std::nullopt, std::nullopt, platform::SW_SHOWNORMAL));
}

}  // namespace
}  // namespace qor
