// RunProcess on the real system: a stub records what it was started with.
#include "launcher/nol_cdrun_exec.h"
#include "platform/command_line.h"
#include "tests/platform/system_platform_fixture.h"
#include "unit/platform/command_line_cases.h"

namespace qor::platform::testing {
namespace {

class SystemProcesses : public SystemPlatformTest {
 protected:
  void SetUp() override {
    SystemPlatformTest::SetUp();
    SetEnv("NOL_RECORD_WAIT", "");
  }
  void TearDown() override {
    SetEnv("NOL_RECORD_FILE", "");
    SetEnv("NOL_RECORD_WAIT", "");
    SystemPlatformTest::TearDown();
  }
  fs::path RecordTo(const std::string& name) {
    const fs::path file = Dir() / name;
    SetEnv("NOL_RECORD_FILE", rtl::StringToUtf8(Str(file)));
    return file;
  }
};

TEST_F(SystemProcesses, TheStartedProgramSeesItsArgumentsAndOurFolder) {
  const fs::path record = RecordTo("record.txt");
  const rtl::String program = Str(Tool("nol_record_args"));
  ASSERT_TRUE(RunProcess(QuoteArgument(program) + u" /update /update_path \"D:\\Q\\upd\\\"", SW_SHOWNORMAL));
  ASSERT_TRUE(WaitForRecord(record));
  const TRecord r = ReadRecord(record);
  EXPECT_EQ(r.Args, (std::vector<std::u16string>{program, u"/update", u"/update_path", u"D:\\Q\\upd\""}));
  EXPECT_EQ(fs::path(r.Cwd), fs::current_path());
}

TEST_F(SystemProcesses, OneTableOfCommandLinesGivesTheSameArguments) {
  const rtl::String program = Str(Tool("nol_record_args"));
  int n = 0;
  for (const auto& c : CommandLineCases()) {
    const fs::path record = RecordTo("case" + std::to_string(n++) + ".txt");
    ASSERT_TRUE(RunProcess(QuoteArgument(program) + u" " + c.Arguments, SW_SHOWNORMAL));
    ASSERT_TRUE(WaitForRecord(record)) << rtl::StringToUtf8(c.Arguments);
    std::vector<std::u16string> expected{program};
    expected.insert(expected.end(), c.Expected.begin(), c.Expected.end());
    EXPECT_EQ(ReadRecord(record).Args, expected) << rtl::StringToUtf8(c.Arguments);
  }
}

TEST_F(SystemProcesses, AMissingProgramGivesFalse) {
  EXPECT_FALSE(RunProcess(Str(Dir() / "no_such_program.exe") + u" a b", SW_SHOWNORMAL));
  EXPECT_FALSE(RunProcess(u"nol_no_such_program_anywhere", SW_SHOWNORMAL));
  EXPECT_FALSE(RunProcess(u"", SW_SHOWNORMAL));
}

TEST_F(SystemProcesses, AFileThatIsNoProgramGivesFalse) {
  WriteBytes(Dir() / "notes.exe", "just text, no program");
  EXPECT_FALSE(RunProcess(QuoteArgument(Str(Dir() / "notes.exe")), SW_SHOWNORMAL));
}

// A console program has no input-idle state: RunProcess returns while it still runs.
TEST_F(SystemProcesses, TheInputIdleWaitReturnsAtOnceForAConsoleProgram) {
  const fs::path record = RecordTo("record.txt"), go = Dir() / "go";
  SetEnv("NOL_RECORD_WAIT", rtl::StringToUtf8(Str(go)));
  ASSERT_TRUE(RunProcess(QuoteArgument(Str(Tool("nol_record_args"))) + u" x", SW_SHOWNORMAL));
  ASSERT_TRUE(WaitForRecord(record));
  EXPECT_FALSE(fs::exists(Dir() / "record.txt.done"));
  WriteBytes(go, "");
  EXPECT_TRUE(WaitFor([&] { return fs::exists(Dir() / "record.txt.done"); }));
}

#ifdef _WIN32
// A GUI program is waited for until it is idle (or gone); it records as well.
TEST_F(SystemProcesses, AGuiProgramIsStartedAndRecordsItsCommandLine) {
  const fs::path record = RecordTo("gui.txt");
  const rtl::String program = Str(Tool("nol_record_args_gui"));
  ASSERT_TRUE(RunProcess(QuoteArgument(program) + u" \"two words\" x", SW_SHOWNORMAL));
  ASSERT_TRUE(WaitForRecord(record));
  EXPECT_EQ(ReadRecord(record).Args, (std::vector<std::u16string>{program, u"two words", u"x"}));
}
#endif

}  // namespace
}  // namespace qor::platform::testing
