// DoLog, DoLogWrite and the console writer.
#include "tests/unit/console/console_test_support.h"

namespace qor::test {
namespace {

using LogTest = ConsoleTest;

// The bytes of text in a code page of the fake.
std::string Bytes(platform::fake::TFakePlatform& fake, unsigned codePage, rtl::StringView text) {
  return fake.CodePages().FromUnicode(codePage, text);
}

TEST_F(LogTest, EntryWithTimeAndLineBreak) {
  TConsoleApp app;
  app.SetLogFile(u"tool.log");
  app.DoLog(u"started", true, true);
  app.DoLog(u"plain", false, true);
  app.DoLog(u"open", false, false);
  app.DoLog(u"%s = %d", {u"n", 5}, true, false);
  EXPECT_EQ(FileText(u"tool.log"), "14:05:09 : started\r\nplain\r\nopen14:05:09 : n = 5");
  // The console line is always ended.
  EXPECT_EQ(ConsoleOutput(), "14:05:09 : started\r\nplain\r\nopen\r\n14:05:09 : n = 5\r\n");
  // Every entry reaches the disk on its own.
  EXPECT_EQ(Fake.Files().FlushCount(u"tool.log"), 4);
}

TEST_F(LogTest, TimeUsesTheProcessWideSeparatorAndTwentyFourHours) {
  rtl::FormatSettings().TimeSeparator = u'.';
  Fake.Clock().Time = rtl::EncodeDateTime(2017, 3, 15, 21, 4, 3, 0);
  TConsoleApp app;
  app.DoLog(u"x", true, false);
  EXPECT_EQ(ConsoleOutput(), "21.04.03 : x\r\n");
}

TEST_F(LogTest, CharactersOutsideTheAnsiPageBecomeItsDefaultCharacterEverywhere) {
  // 1251 has the Cyrillic letters and not U+4E2D; 866 (the console's) has them too.
  Fake.CodePages().Ansi = 1251;
  Fake.CodePages().Oem = 866;
  TConsoleApp app;
  app.SetLogFile(u"tool.log");
  app.DoLog(u"\u041F\u0440\u0438\u0432\u0435\u0442 \u4E2D!", false, false);
  EXPECT_EQ(FileText(u"tool.log"), Bytes(Fake, 1251, u"\u041F\u0440\u0438\u0432\u0435\u0442 ?!"));
  EXPECT_EQ(ConsoleOutput(), Bytes(Fake, 866, u"\u041F\u0440\u0438\u0432\u0435\u0442 ?!") + "\r\n");
}

TEST_F(LogTest, TheConsoleSeesTheTextAfterTheAnsiStepButDoLogWriteSkipsIt) {
  // U+2591 is in the console's page 866 but not in the ANSI page 1251.
  Fake.CodePages().Ansi = 1251;
  Fake.CodePages().Oem = 866;
  TConsoleApp app;
  app.SetLogFile(u"tool.log");
  app.DoLog(u"\u2591", false, false);
  app.DoLogWrite(u"%s|", {u"\u2591"});
  EXPECT_EQ(ConsoleOutput(), "?\r\n" + Bytes(Fake, 866, u"\u2591") + "|");
  EXPECT_EQ(FileText(u"tool.log"), "?");  // DoLogWrite never reaches the log file
  EXPECT_GE(Fake.Console().Flushes, 1);    // the unfinished line is pushed out
}

TEST_F(LogTest, TheTerminalCharacterSetNeedsMoreBytesThanUnits) {
  Fake.CodePages().Ansi = 1251;
  Fake.CodePages().Oem = platform::kCodePageUtf8;
  TConsoleApp app;
  app.DoLog(u"\u0416\u0416", false, true);
  EXPECT_EQ(ConsoleOutput(), "\xD0\x96\xD0\x96\r\n");
}

TEST_F(LogTest, NotAConsoleProgramWritesOnlyTheLogFile) {
  SetConsoleProgram(false);
  TConsoleApp app;
  app.SetLogFile(u"tool.log");
  app.DoLog(u"entry", false, true);
  app.DoLogWrite(u"more", {});
  EXPECT_EQ(ConsoleOutput(), "");
  EXPECT_EQ(FileText(u"tool.log"), "entry\r\n");
}

TEST_F(LogTest, EmptyTextStillEndsTheConsoleLine) {
  TConsoleApp app;
  app.SetLogFile(u"tool.log");
  app.DoLog(u"", false, true);
  EXPECT_EQ(ConsoleOutput(), "\r\n");
  EXPECT_EQ(FileText(u"tool.log"), "\r\n");
}

TEST_F(LogTest, AFailingWriteLosesOnlyThatEntry) {
  TConsoleApp app;
  app.SetLogFile(u"tool.log");
  app.DoLog(u"one", false, true);
  Fake.Files().FailWrites = true;
  EXPECT_NO_THROW(app.DoLog(u"two", false, true));
  Fake.Files().FailWrites = false;
  Fake.Files().FailFlush = true;
  EXPECT_NO_THROW(app.DoLog(u"three", false, true));
  EXPECT_EQ(FileText(u"tool.log"), "one\r\nthree\r\n");
  EXPECT_EQ(ConsoleOutput(), "one\r\ntwo\r\nthree\r\n");
}

}  // namespace
}  // namespace qor::test
