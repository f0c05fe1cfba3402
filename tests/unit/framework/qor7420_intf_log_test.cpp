#include "framework/log/qor7420_intf_log.h"

#include <gtest/gtest.h>

#include "tests/unit/framework/log_test_support.h"

namespace qor {
namespace {

using test::MakeAppender;
using test::TLogJournal;
using Events = std::vector<std::string>;

TEST(LogLevels, OneByteAndNamesOfEqualWidth) {
  static_assert(sizeof(TLogLevel) == 1);
  const rtl::StringView expected[] = {u"DEBUG", u" INFO", u" WARN", u"ERROR", u"FATAL", u"  OFF"};
  ASSERT_EQ(LogLevelNames.size(), 6u);
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(LogLevelNames[i], expected[i]);
    EXPECT_EQ(LogLevelNames[i].size(), 5u);
  }
  EXPECT_EQ(LogLevelName(TLogLevel::Off), u"  OFF");
  EXPECT_EQ(static_cast<int>(TLogLevel::Error), 3);
}

class LoggerTest : public ::testing::Test {
 protected:
  rtl::IPtr<ILogger> FLogger{rtl::Create<TLogger>()};
  TLogJournal FJournal;
};

TEST_F(LoggerTest, EveryLevelReachesEveryAppenderInRegistrationOrder) {
  auto a = MakeAppender("A", FJournal);
  auto b = MakeAppender("B", FJournal);
  FLogger->Register(a);
  FLogger->Register(b);
  FJournal = {};
  FLogger->SetLevel(TLogLevel::Off);  // never compared: everything is delivered

  const rtl::TArgList args = {rtl::String(u"x"), 42};
  struct Case {
    void (ILogger::*Plain)(rtl::StringView);
    void (ILogger::*WithArgs)(rtl::StringView, const rtl::TArgList&);
    TLogLevel Level;
  };
  const Case cases[] = {
      {&ILogger::Debug, &ILogger::Debug, TLogLevel::Debug}, {&ILogger::Info, &ILogger::Info, TLogLevel::Info},
      {&ILogger::Warn, &ILogger::Warn, TLogLevel::Warn},    {&ILogger::Error, &ILogger::Error, TLogLevel::Error},
      {&ILogger::Fatal, &ILogger::Fatal, TLogLevel::Fatal},
  };
  for (const Case& c : cases) {
    FJournal = {};
    ((*FLogger).*c.Plain)(u"plain %s");
    ((*FLogger).*c.WithArgs)(u"%s: %d", args);
    ASSERT_EQ(FJournal.Messages.size(), 4u);
    const char* order[] = {"A", "B", "A", "B"};
    for (std::size_t i = 0; i < 4; ++i) {
      const auto& m = FJournal.Messages[i];
      EXPECT_EQ(m.Appender, order[i]);
      EXPECT_EQ(m.Level, c.Level);
      if (i < 2) {
        EXPECT_EQ(m.Text, u"plain %s");  // never formatted
        EXPECT_TRUE(m.Args.empty());
      } else {
        EXPECT_EQ(m.Text, u"%s: %d");
        EXPECT_EQ(m.Args, args);
      }
    }
  }
  EXPECT_EQ(FLogger->GetLevel(), TLogLevel::Off);
}

TEST_F(LoggerTest, NewLoggerIsAtDebugAndKeepsTheLevelSet) {
  EXPECT_EQ(FLogger->GetLevel(), TLogLevel::Debug);
  FLogger->SetLevel(TLogLevel::Warn);
  EXPECT_EQ(FLogger->GetLevel(), TLogLevel::Warn);
}

TEST_F(LoggerTest, RaisingAppenderIsSkippedSilently) {
  auto a = MakeAppender("A", FJournal);
  auto b = MakeAppender("B", FJournal);
  a->Raise = true;
  FLogger->Register(a);
  FLogger->Register(b);
  FJournal = {};
  EXPECT_NO_THROW(FLogger->Error(u"boom", {rtl::String(u"x")}));
  EXPECT_EQ(FJournal.Events, (Events{"A:append", "B:append"}));
}

TEST_F(LoggerTest, NoAppendersDropsTheMessage) {
  EXPECT_NO_THROW(FLogger->Fatal(u"nobody listens"));
  EXPECT_NO_THROW(FLogger->Info(u"%s", {1}));
}

TEST_F(LoggerTest, DuplicateAppenderReceivesTwiceUntilOneUnRegister) {
  auto a = MakeAppender("A", FJournal);
  FLogger->Register(a);
  FLogger->Register(a);
  EXPECT_EQ(FJournal.Events, (Events{"A:setlogger", "A:setlogger"}));
  EXPECT_EQ(a->LastLogger, FLogger.get());
  EXPECT_EQ(a->RefCount(), 3);  // ours and two list entries

  FJournal = {};
  FLogger->Debug(u"twice");
  EXPECT_EQ(FJournal.Events, (Events{"A:append", "A:append"}));

  FJournal = {};
  FLogger->UnRegister(a);
  EXPECT_EQ(FJournal.Events, (Events{"A:setlogger-empty"}));
  EXPECT_EQ(a->RefCount(), 2);
  FJournal = {};
  FLogger->Debug(u"once");
  EXPECT_EQ(FJournal.Events, (Events{"A:append"}));
}

TEST_F(LoggerTest, UnRegisterRemovesTheFirstOccurrenceOnly) {
  auto a = MakeAppender("A", FJournal);
  auto b = MakeAppender("B", FJournal);
  FLogger->Register(a);
  FLogger->Register(b);
  FLogger->Register(a);
  FLogger->UnRegister(a);
  FJournal = {};
  FLogger->Warn(u"w");
  EXPECT_EQ(FJournal.Events, (Events{"B:append", "A:append"}));
}

TEST_F(LoggerTest, UnRegisterOfAStrangerStillClearsItsLogger) {
  auto stranger = MakeAppender("S", FJournal);
  FLogger->UnRegister(stranger);
  EXPECT_EQ(FJournal.Events, (Events{"S:setlogger-empty"}));
  EXPECT_EQ(stranger->RefCount(), 1);
  EXPECT_NO_THROW(FLogger->UnRegister(nullptr));
}

TEST_F(LoggerTest, RegisterOfAnEmptyAppenderIsRefused) {
  EXPECT_THROW(FLogger->Register(nullptr), rtl::EInvalidOperation);
  auto a = MakeAppender("A", FJournal);
  FLogger->Register(a);
  FJournal = {};
  FLogger->Info(u"still one appender");
  EXPECT_EQ(FJournal.Events, (Events{"A:append"}));
}

TEST_F(LoggerTest, AppenderMayLeaveWhileItRuns) {
  // Removing itself from the list during Append must not disturb the walk.
  class TLeaving : public test::TRecordingAppender {
   public:
    using TRecordingAppender::TRecordingAppender;
    void Append(TLogLevel Level, rtl::StringView Text, const rtl::TArgList& Args) override {
      TRecordingAppender::Append(Level, Text, Args);
      if (Logger) Logger->UnRegister(rtl::IPtr<ILogAppender>(this));
    }
  };
  rtl::IPtr<TLeaving> leaving(rtl::Create<TLeaving>("L", FJournal));
  leaving->KeepLogger = true;
  FLogger->Register(leaving);
  leaving = nullptr;  // the list holds the only reference to it
  FJournal = {};
  FLogger->Error(u"bye");
  EXPECT_EQ(FJournal.Events, (Events{"L:append", "L:setlogger-empty"}));
  FJournal = {};
  FLogger->Error(u"gone");
  EXPECT_TRUE(FJournal.Events.empty());
}

TEST_F(LoggerTest, DestructionReleasesAppendersWithoutSetLogger) {
  auto a = MakeAppender("A", FJournal);
  FLogger->Register(a);
  FLogger->Register(a);
  FJournal = {};
  FLogger = nullptr;
  EXPECT_TRUE(FJournal.Events.empty());
  EXPECT_EQ(a->RefCount(), 1);
}

class ProcessLoggerTest : public ::testing::Test {
 protected:
  void SetUp() override { LogModule().Finalization(); }
  void TearDown() override { LogModule().Finalization(); }
  TLogJournal FJournal;
};

TEST_F(ProcessLoggerTest, GetLoggerCreatesOneLoggerOnFirstUse) {
  EXPECT_EQ(LogModule().Initialization, nullptr);  // start-up does nothing
  rtl::IPtr<ILogger> first = GetLogger();
  rtl::IPtr<ILogger> second = GetLogger();
  ASSERT_TRUE(first);
  EXPECT_EQ(first, second);
  EXPECT_EQ(first->GetLevel(), TLogLevel::Debug);
}

TEST_F(ProcessLoggerTest, ShutDownReleasesTheLoggerAndItsAppenders) {
  auto a = MakeAppender("A", FJournal);
  GetLogger()->Register(a);
  EXPECT_EQ(a->RefCount(), 2);
  LogModule().Finalization();
  EXPECT_EQ(a->RefCount(), 1);  // the logger died and let the appender go
  EXPECT_EQ(FJournal.Events, (Events{"A:setlogger"}));  // without a SetLogger call
}

TEST_F(ProcessLoggerTest, AnAppenderHoldingTheLoggerKeepsItAlive) {
  auto a = MakeAppender("A", FJournal);
  a->KeepLogger = true;
  GetLogger()->Register(a);
  LogModule().Finalization();
  // The slot is empty but the appender's reference still works.
  ASSERT_TRUE(a->Logger);
  FJournal = {};
  a->Logger->Error(u"after shut-down");
  EXPECT_EQ(FJournal.Events, (Events{"A:append"}));
  EXPECT_EQ(a->RefCount(), 2);
  // Dropping that last reference destroys the logger, which lets the appender go.
  a->Logger = nullptr;
  EXPECT_EQ(a->RefCount(), 1);
}

}  // namespace
}  // namespace qor
