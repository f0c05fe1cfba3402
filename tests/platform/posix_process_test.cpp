// What only the substitute does: the Windows search order with ".exe", scripts and
// wine for Windows programs, detached children.
#ifndef _WIN32
#include "launcher/nol_cdrun_exec.h"
#include "platform/command_line.h"
#include "tests/platform/system_platform_fixture.h"

namespace qor::platform::testing {
namespace {

class SubstituteProcesses : public SystemPlatformTest {
 protected:
  void SetUp() override {
    SystemPlatformTest::SetUp();
    FSavedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    FSavedCwd = fs::current_path();
  }
  void TearDown() override {
    fs::current_path(FSavedCwd);
    SetEnv("PATH", FSavedPath);
    SetEnv("NOL_RECORD_FILE", "");
    for (const fs::path& p : FCleanup) fs::remove(p);
    SystemPlatformTest::TearDown();
  }
  // A script that writes its own path and arguments to $NOL_RECORD_FILE.
  fs::path Script(const fs::path& file) {
    WriteBytes(file, "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > \"$NOL_RECORD_FILE.tmp\"\n"
                     "mv \"$NOL_RECORD_FILE.tmp\" \"$NOL_RECORD_FILE\"\n");
    fs::permissions(file, fs::perms::owner_all);
    return file;
  }
  std::string Recorded(const fs::path& record) {
    if (!WaitFor([&] { return fs::exists(record); })) return "<nothing>";
    return ReadBytes(record);
  }
  std::string FSavedPath;
  fs::path FSavedCwd;
  std::vector<fs::path> FCleanup;
};

TEST_F(SubstituteProcesses, ProgramsAreFoundInTheWindowsOrder) {
  const fs::path record = Dir() / "record.txt";
  SetEnv("NOL_RECORD_FILE", record.string());
  const std::string name = "nol_order_" + std::to_string(P().Clock().ProcessId());
  // The program's own folder (the tests' folder), the current folder, then PATH.
  const fs::path own = fs::path(P().Files().ProgramPath()).parent_path() / name;
  fs::create_directories(Dir() / "cwd");
  fs::create_directories(Dir() / "path");
  Script(Dir() / "path" / name);
  SetEnv("PATH", (Dir() / "path").string() + ":" + FSavedPath);
  fs::current_path(Dir() / "cwd");

  ASSERT_TRUE(RunProcess(rtl::Utf8ToString(name) + u" a", SW_SHOWNORMAL));
  EXPECT_EQ(Recorded(record), (Dir() / "path" / name).string() + "\na\n");
  fs::remove(record);

  Script(Dir() / "cwd" / name);
  ASSERT_TRUE(RunProcess(rtl::Utf8ToString(name) + u" b", SW_SHOWNORMAL));
  EXPECT_EQ(Recorded(record), (Dir() / "cwd").string() + "/" + name + "\nb\n");
  fs::remove(record);

  FCleanup.push_back(Script(own));
  ASSERT_TRUE(RunProcess(rtl::Utf8ToString(name) + u" c", SW_SHOWNORMAL));
  EXPECT_EQ(Recorded(record), own.string() + "\nc\n");
  fs::remove(record);

  // ".exe" is tried first in each folder.
  FCleanup.push_back(Script(own.string() + ".exe"));
  ASSERT_TRUE(RunProcess(rtl::Utf8ToString(name) + u" d", SW_SHOWNORMAL));
  EXPECT_EQ(Recorded(record), own.string() + ".exe\nd\n");
}

TEST_F(SubstituteProcesses, PathsWithBackslashesAndUnquotedBlanksAreFound) {
  const fs::path record = Dir() / "record.txt";
  SetEnv("NOL_RECORD_FILE", record.string());
  fs::create_directories(Dir() / "My Programs" / "bin");
  Script(Dir() / "My Programs" / "bin" / "run.exe");
  fs::current_path(Dir());
  ASSERT_TRUE(RunProcess(u"My Programs\\bin\\run /x", SW_SHOWNORMAL));
  EXPECT_EQ(Recorded(record), "My Programs/bin/run.exe\n/x\n");  // the script's $0 is the file started
  fs::remove(record);
  ASSERT_TRUE(RunProcess(u".\\My Programs\\bin\\run.exe \"y z\"", SW_SHOWNORMAL));
  EXPECT_EQ(Recorded(record), "./My Programs/bin/run.exe\ny z\n");
}

TEST_F(SubstituteProcesses, AProgramThatCannotRunGivesFalse) {
  WriteBytes(Dir() / "noexec", "#!/bin/sh\nexit 0\n");  // no execute permission
  EXPECT_FALSE(RunProcess(QuoteArgument(Str(Dir() / "noexec")), SW_SHOWNORMAL));
  WriteBytes(Dir() / "data.bin", "\x01\x02\x03\x04");
  EXPECT_FALSE(RunProcess(QuoteArgument(Str(Dir() / "data.bin")), SW_SHOWNORMAL));
}

TEST_F(SubstituteProcesses, AWindowsProgramGoesThroughWine) {
  // A fake wine in PATH records how it was asked to run the program.
  const fs::path record = Dir() / "record.txt";
  SetEnv("NOL_RECORD_FILE", record.string());
  fs::create_directories(Dir() / "bin");
  Script(Dir() / "bin" / "wine");
  SetEnv("PATH", (Dir() / "bin").string() + ":/usr/bin:/bin");
  WriteBytes(Dir() / "setup.exe", std::string("MZ\x90\0", 4));
  ASSERT_TRUE(RunProcess(QuoteArgument(Str(Dir() / "setup.exe")) + u" /silent", SW_SHOWNORMAL));
  EXPECT_EQ(Recorded(record), (Dir() / "bin" / "wine").string() + "\n" + (Dir() / "setup.exe").string() + "\n/silent\n");
  SetEnv("PATH", "/nonexistent");
  EXPECT_FALSE(RunProcess(QuoteArgument(Str(Dir() / "setup.exe")), SW_SHOWNORMAL));
}

TEST_F(SubstituteProcesses, ChildrenAreDetachedWithNullStreams) {
  const fs::path record = Dir() / "record.txt";
  SetEnv("NOL_RECORD_FILE", record.string());
  WriteBytes(Dir() / "probe",
             "#!/bin/sh\nin=$(readlink /proc/$$/fd/0); out=$(readlink /proc/$$/fd/1); err=$(readlink /proc/$$/fd/2)\n"
             "{ awk '{print $6}' /proc/$$/stat; awk '{print $6}' /proc/" +
                 std::to_string(P().Clock().ProcessId()) +
                 "/stat; echo \"$in $out $err\"; } > \"$NOL_RECORD_FILE.tmp\"\n"
                 "mv \"$NOL_RECORD_FILE.tmp\" \"$NOL_RECORD_FILE\"\n");
  fs::permissions(Dir() / "probe", fs::perms::owner_all);
  ASSERT_TRUE(RunProcess(QuoteArgument(Str(Dir() / "probe")), SW_SHOWNORMAL));
  std::istringstream lines(Recorded(record));
  std::string childSid, ourSid, in, out, err;
  lines >> childSid >> ourSid >> in >> out >> err;
  EXPECT_NE(childSid, ourSid) << "the child shares our session";
  EXPECT_EQ(in, "/dev/null");
  EXPECT_EQ(out, "/dev/null");
  EXPECT_EQ(err, "/dev/null");
}

}  // namespace
}  // namespace qor::platform::testing
#endif
