// The configuration, log and pid files.
#include "tests/unit/console/console_test_support.h"

#include "platform/file_stream.h"

namespace qor::test {
namespace {

using FilesTest = ConsoleTest;

TEST_F(FilesTest, ConfigurationNamesTheLogAndThePidFile) {
  Args({u"-Export", u"daily/out"});
  Fake.Files().SetFile(u"tool.ini",
                       "[other]\r\nLogFile=wrong.log\r\n[main]\r\nlogfile = \"job_@@param@.log\"\r\nPIDFILE=run_@@param@.pid\r\n");
  TConsoleApp app;
  app.SetConfigFileName(u"tool.ini");
  EXPECT_EQ(app.ConfigFileName(), u"tool.ini");
  EXPECT_EQ(app.LogFile(), u"job_export.daily_out.log");
  EXPECT_EQ(app.PidFile(), u"run_@@param@.pid");  // the pid file name is not expanded
  EXPECT_EQ(FileText(u"run_@@param@.pid"), "4242");
  app.DoLog(u"x", false, true);
  EXPECT_EQ(FileText(u"job_export.daily_out.log"), "x\r\n");
}

TEST_F(FilesTest, ConfigurationWithoutMainOrWithoutTheKeysChangesNothingElse) {
  Fake.Files().SetFile(u"nomain.ini", "[Other]\r\nLogFile=a.log\r\n");
  Fake.Files().SetFile(u"emptymain.ini", "[Main]\r\n");
  Fake.Files().SetFile(u"otherkeys.ini", "[Main]\r\nLevel=3\r\n");
  TConsoleApp app;
  app.SetLogFile(u"kept.log");
  for (rtl::StringView ini : {u"missing.ini", u"nomain.ini", u"emptymain.ini", u"otherkeys.ini"}) {
    app.SetConfigFileName(ini);
    EXPECT_EQ(app.ConfigFileName(), ini);
    EXPECT_EQ(app.LogFile(), u"kept.log");
    EXPECT_EQ(app.PidFile(), u"");
  }
  EXPECT_FALSE(Fake.Files().Contents(u"a.log"));
}

TEST_F(FilesTest, AnEmptyLogFileKeyClosesTheLog) {
  Fake.Files().SetFile(u"tool.ini", "[Main]\r\nLogFile=\r\n");
  TConsoleApp app;
  app.SetLogFile(u"first.log");
  app.SetConfigFileName(u"tool.ini");
  EXPECT_EQ(app.LogFile(), u"");
  EXPECT_EQ(Fake.Files().OpenFileCount(), 0);
}

TEST_F(FilesTest, AnExistingLogFileIsAppendedTo) {
  Fake.Files().SetFile(u"tool.log", "earlier\r\n");
  TConsoleApp app;
  app.SetLogFile(u"tool.log");
  app.DoLog(u"later", false, true);
  EXPECT_EQ(FileText(u"tool.log"), "earlier\r\nlater\r\n");
}

TEST_F(FilesTest, TheLogFileIsHeldExclusively) {
  TConsoleApp app;
  app.SetLogFile(u"tool.log");
  EXPECT_THROW(platform::TFileStream(u"tool.log", platform::TFileStreamMode::OpenRead), rtl::EFOpenError);
}

TEST_F(FilesTest, ANewNameClosesTheOldFileAndTheEmptyNameClosesTheLog) {
  TConsoleApp app;
  app.SetLogFile(u"one.log");
  app.DoLog(u"1", false, true);
  app.SetLogFile(u"two.log");
  app.DoLog(u"2", false, true);
  EXPECT_EQ(Fake.Files().OpenFileCount(), 1);
  app.SetLogFile(u"one.log");  // reopened after the close, appended to
  app.DoLog(u"3", false, true);
  app.SetLogFile(u"");
  app.DoLog(u"4", false, true);
  EXPECT_EQ(Fake.Files().OpenFileCount(), 0);
  EXPECT_EQ(app.LogFile(), u"");
  EXPECT_EQ(FileText(u"one.log"), "1\r\n3\r\n");
  EXPECT_EQ(FileText(u"two.log"), "2\r\n");
}

TEST_F(FilesTest, ALogFileThatCannotBeOpenedRaisesAndLeavesNoLogOpen) {
  TConsoleApp app;
  app.SetLogFile(u"old.log");
  Fake.Files().SetFile(u"busy.log", "");
  platform::TFileStream holder(u"busy.log", platform::TFileStreamMode::OpenRead, true);
  try {
    app.SetLogFile(u"busy.log");
    FAIL() << "no exception";
  } catch (const rtl::EFOpenError& e) {
    EXPECT_EQ(e.Message().rfind(u"Cannot open file \"busy.log\". ", 0), 0u) << rtl::StringToUtf8(e.Message());
  }
  EXPECT_EQ(app.LogFile(), u"busy.log");
  app.DoLog(u"lost", false, true);
  EXPECT_EQ(FileText(u"old.log"), "");
  EXPECT_EQ(Fake.Files().OpenFileCount(), 1);  // the holder's only
}

TEST_F(FilesTest, TheFailureOfTheConfiguredLogFilePropagates) {
  Fake.Files().SetFile(u"tool.ini", "[Main]\r\nLogFile=busy.log\r\nPidFile=tool.pid\r\n");
  Fake.Files().SetFile(u"busy.log", "");
  platform::TFileStream holder(u"busy.log", platform::TFileStreamMode::OpenRead, true);
  TConsoleApp app;
  EXPECT_THROW(app.SetConfigFileName(u"tool.ini"), rtl::EFOpenError);
  EXPECT_EQ(app.ConfigFileName(), u"tool.ini");
  EXPECT_EQ(app.PidFile(), u"");  // the pid file comes after the log file
}

TEST_F(FilesTest, PidFileHoldsOnlyTheDigitsAndGoesWithTheInstance) {
  Fake.Clock().Pid = 4294967295u;
  Fake.Files().SetFile(u"tool.pid", "stale contents, longer than the pid");
  {
    TConsoleApp app;
    app.SetPidFile(u"tool.pid");
    EXPECT_EQ(app.PidFile(), u"tool.pid");
    EXPECT_EQ(FileText(u"tool.pid"), "4294967295");
    EXPECT_EQ(Fake.Files().OpenFileCount(), 0);  // closed at once
  }
  EXPECT_FALSE(Fake.Files().Contents(u"tool.pid"));
}

TEST_F(FilesTest, APidFileThatCannotBeCreatedRaises) {
  Fake.Files().SetFile(u"tool.pid", "1");
  platform::TFileStream holder(u"tool.pid", platform::TFileStreamMode::OpenRead, true);
  TConsoleApp app;
  EXPECT_THROW(app.SetPidFile(u"tool.pid"), rtl::EFCreateError);
  EXPECT_EQ(app.PidFile(), u"tool.pid");
}

}  // namespace
}  // namespace qor::test
