// The shell's "open" on the real backend.
#include "launcher/nol_cdrun_exec.h"
#include "platform/command_line.h"
#include "tests/platform/system_platform_fixture.h"

namespace qor::platform::testing {
namespace {

class SystemShell : public SystemPlatformTest {
 protected:
  void TearDown() override {
    SetEnv("NOL_RECORD_FILE", "");
    SetEnv("NOL_SHELL_OPEN", "");
    SystemPlatformTest::TearDown();
  }
  fs::path RecordTo(const std::string& name) {
    const fs::path file = Dir() / name;
    SetEnv("NOL_RECORD_FILE", rtl::StringToUtf8(Str(file)));
    return file;
  }
};

// A program document starts with the parameters, in the directory given.
TEST_F(SystemShell, AProgramIsStartedWithItsParametersInTheDirectory) {
  const fs::path record = RecordTo("record.txt");
  fs::create_directories(Dir() / "work");
#ifdef _WIN32
  const rtl::String program = Str(Tool("nol_record_args"));
#else
  // The substitute knows programs by their extension, as the shell does.
  fs::copy_file(Tool("nol_record_args"), Dir() / "stub.exe");
  const rtl::String program = Str(Dir() / "stub.exe");
#endif
  ShellOpen(program, u"/update \"two words\"", Str(Dir() / "work"), SW_SHOWNORMAL);
  ASSERT_TRUE(WaitForRecord(record));
  const TRecord r = ReadRecord(record);
  ASSERT_EQ(r.Args.size(), 3u);
  EXPECT_EQ(r.Args[1], u"/update");
  EXPECT_EQ(r.Args[2], u"two words");
  EXPECT_EQ(fs::path(r.Cwd), Dir() / "work");
}

#ifndef _WIN32
// Other documents go to NOL_SHELL_OPEN with four arguments, empty where none.
TEST_F(SystemShell, ADocumentGoesToTheOpenerWithFourArguments) {
  const fs::path record = RecordTo("record.txt");
  SetEnv("NOL_SHELL_OPEN", Tool("nol_record_args").string());
  WriteBytes(Dir() / "brochure.pdf", "%PDF");
  ShellOpen(Str(Dir() / "brochure.pdf"), std::nullopt, std::nullopt, SW_SHOWMAXIMIZED);
  ASSERT_TRUE(WaitForRecord(record));
  TRecord r = ReadRecord(record);
  EXPECT_EQ(r.Args, (std::vector<std::u16string>{Str(Tool("nol_record_args")), Str(Dir() / "brochure.pdf"), u"",
                                                 u"", u"3"}));
  fs::remove(record);
  // Windows separators become POSIX ones; a relative document stays the current folder's.
  const fs::path saved = fs::current_path();
  fs::current_path(Dir());
  fs::create_directories(Dir() / "doc");
  ShellOpen(u"doc\\help.chm", u"-x", Str(Dir() / "doc"), SW_SHOWNORMAL);
  fs::current_path(saved);
  ASSERT_TRUE(WaitForRecord(record));
  r = ReadRecord(record);
  ASSERT_EQ(r.Args.size(), 5u);
  EXPECT_EQ(fs::path(r.Args[1]), Dir() / "doc/help.chm");
  EXPECT_EQ(r.Args[2], u"-x");
  EXPECT_EQ(fs::path(r.Args[3]), Dir() / "doc");
  EXPECT_EQ(r.Args[4], u"1");
  EXPECT_EQ(fs::path(r.Cwd), Dir() / "doc");
}

TEST_F(SystemShell, OnlyTheOpenVerbIsKnown) {
  SetEnv("NOL_SHELL_OPEN", Tool("nol_record_args").string());
  EXPECT_LE(P().Shell().Execute(u"print", Str(Dir() / "x.pdf"), std::nullopt, std::nullopt, 1), 32);
  EXPECT_GT(P().Shell().Execute(u"", Str(Dir() / "x.pdf"), std::nullopt, std::nullopt, 1), 32);
}
#endif

}  // namespace
}  // namespace qor::platform::testing
