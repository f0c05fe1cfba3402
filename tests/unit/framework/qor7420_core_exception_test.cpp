#include "framework/exceptions/qor7420_core_exception.h"

#include <gtest/gtest.h>

#include "framework/exceptions/qor7420_intf_exception.h"
#include "framework/startup/module_runner.h"
#include "tests/unit/framework/log_test_support.h"

namespace qor {
namespace {

using test::MakeAppender;
using test::TLogJournal;
using Events = std::vector<std::string>;

// An exception that records its destruction.
class ETracked : public rtl::Exception {
 public:
  ETracked(rtl::String message, bool& destroyed) : Exception(std::move(message)), FDestroyed(&destroyed) {}
  ETracked(const ETracked&) = default;
  ~ETracked() override { *FDestroyed = true; }
  rtl::StringView ClassName() const noexcept override { return u"ETracked"; }
  std::unique_ptr<rtl::Exception> Clone() const override { return std::make_unique<ETracked>(*this); }

 private:
  bool* FDestroyed;
};

// The procedures are plain functions, so what they see goes to one shared place.
struct TPassRecord {
  TLogJournal* Journal = nullptr;
  std::vector<void*> Senders;
  std::vector<const rtl::Exception*> Seen;
  TExceptionHandler* Handler = nullptr;
};
TPassRecord& Pass() {
  static TPassRecord record;
  return record;
}
void Note(const char* name, void* sender, rtl::Exception& e) {
  Pass().Journal->Events.push_back(name);
  Pass().Senders.push_back(sender);
  Pass().Seen.push_back(&e);
}
void ProcA(void* s, rtl::Exception& e, bool&) { Note("procA", s, e); }
void ProcB(void* s, rtl::Exception& e, bool&) { Note("procB", s, e); }
void ProcClaim(void* s, rtl::Exception& e, bool& processed) {
  Note("procClaim", s, e);
  processed = true;
}
void ProcRaise(void* s, rtl::Exception& e, bool& processed) {
  Note("procRaise", s, e);
  processed = true;  // the handler resets it: the show procedure is still skipped
  throw rtl::EConvertError(u"procedure failed");
}
void ProcUnRegisterA(void* s, rtl::Exception& e, bool&) {
  Note("procUnRegisterA", s, e);
  Pass().Handler->UnRegister(&ProcA);
}
void Show(rtl::Exception& e) { Note("show", nullptr, e); }

class ExceptionHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LogModule().Finalization();
    Pass() = {};
    Pass().Journal = &FJournal;
    Pass().Handler = FHandler.get();
    GetLogger()->Register(FAppender);
    FJournal = {};
  }
  void TearDown() override {
    LogModule().Finalization();
    Pass() = {};
  }
  std::unique_ptr<rtl::Exception> Tracked(rtl::String message = u"bad thing") {
    return std::make_unique<ETracked>(std::move(message), FDestroyed);
  }

  TLogJournal FJournal;
  rtl::IPtr<test::TRecordingAppender> FAppender = MakeAppender("log", FJournal);
  rtl::IPtr<TExceptionHandler> FHandler{rtl::Create<TExceptionHandler>()};
  bool FDestroyed = false;
};

TEST_F(ExceptionHandlerTest, WithoutProceduresOnlyOneErrorIsLogged) {
  for (bool needFree : {true, false}) {
    SCOPED_TRACE(needFree);
    FJournal = {};
    FDestroyed = false;
    auto e = Tracked(u"the message");
    const rtl::Exception* raw = e.get();
    FHandler->ProcessException(e, needFree);

    EXPECT_EQ(FJournal.Events, (Events{"log:append"}));
    ASSERT_EQ(FJournal.Messages.size(), 1u);
    EXPECT_EQ(FJournal.Messages[0].Level, TLogLevel::Error);
    EXPECT_EQ(FJournal.Messages[0].Text, u"%s: %s");
    EXPECT_EQ(FJournal.Messages[0].Args, (rtl::TArgList{rtl::String(u"ETracked"), rtl::String(u"the message")}));
    EXPECT_EQ(FDestroyed, needFree);
    EXPECT_EQ(e.get(), needFree ? nullptr : raw);
  }
}

TEST_F(ExceptionHandlerTest, ClassNameIsTheRunTimeClass) {
  std::unique_ptr<rtl::Exception> e = rtl::EConvertError(u"''x'' is not a valid integer value").Clone();
  FHandler->ProcessException(e, true);
  ASSERT_EQ(FJournal.Messages.size(), 1u);
  EXPECT_EQ(FJournal.Messages[0].Args,
            (rtl::TArgList{rtl::String(u"EConvertError"), rtl::String(u"''x'' is not a valid integer value")}));
}

TEST_F(ExceptionHandlerTest, NewestFirstThenShowWhenNobodyClaims) {
  FHandler->Register(&ProcA);
  FHandler->Register(&ProcB);
  FHandler->SetExceptionShowProc(&Show);
  auto e = Tracked();
  const rtl::Exception* raw = e.get();
  FHandler->ProcessException(e, true);
  EXPECT_EQ(FJournal.Events, (Events{"log:append", "procB", "procA", "show"}));
  EXPECT_EQ(Pass().Senders, (std::vector<void*>{nullptr, nullptr, nullptr}));
  EXPECT_EQ(Pass().Seen, (std::vector<const rtl::Exception*>{raw, raw, raw}));
  EXPECT_TRUE(FDestroyed);
}

TEST_F(ExceptionHandlerTest, ClaimStopsThePassAfterTheLogMessage) {
  FHandler->Register(&ProcA);
  FHandler->Register(&ProcClaim);
  FHandler->Register(&ProcB);
  FHandler->SetExceptionShowProc(&Show);
  auto e = Tracked();
  FHandler->ProcessException(e, false);
  EXPECT_EQ(FJournal.Events, (Events{"log:append", "procB", "procClaim"}));
  EXPECT_FALSE(FDestroyed);
  EXPECT_EQ(FHandler->GetExceptionShowProc(), &Show);
}

TEST_F(ExceptionHandlerTest, DuplicateRegistrationAndUnRegisterOfTheNewest) {
  FHandler->Register(&ProcA);
  FHandler->Register(&ProcB);
  FHandler->Register(&ProcA);
  auto e = Tracked();
  FHandler->ProcessException(e, false);
  EXPECT_EQ(FJournal.Events, (Events{"log:append", "procA", "procB", "procA"}));

  FHandler->UnRegister(&ProcA);  // the most recent registration
  FHandler->UnRegister(&ProcClaim);  // never registered: nothing happens
  FJournal = {};
  FHandler->ProcessException(e, false);
  EXPECT_EQ(FJournal.Events, (Events{"log:append", "procB", "procA"}));
}

TEST_F(ExceptionHandlerTest, RaisingProcedureEndsThePassAndKeepsTheException) {
  FHandler->Register(&ProcA);
  FHandler->Register(&ProcRaise);
  FHandler->Register(&ProcB);
  FHandler->SetExceptionShowProc(&Show);
  auto e = Tracked(u"original");
  try {
    FHandler->ProcessException(e, true);
    FAIL() << "the procedure's exception must reach the caller";
  } catch (const rtl::EConvertError& raised) {
    EXPECT_EQ(raised.Message(), u"procedure failed");
  }
  EXPECT_EQ(FJournal.Events, (Events{"log:append", "procB", "procRaise"}));
  EXPECT_FALSE(FDestroyed);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Message(), u"original");
}

TEST_F(ExceptionHandlerTest, ListShrinkingDuringThePassIsAnIndexError) {
  FHandler->Register(&ProcA);
  FHandler->Register(&ProcUnRegisterA);
  FHandler->SetExceptionShowProc(&Show);
  auto e = Tracked();
  EXPECT_THROW(FHandler->ProcessException(e, true), rtl::EArgumentOutOfRangeException);
  EXPECT_EQ(FJournal.Events, (Events{"log:append", "procUnRegisterA"}));
  EXPECT_FALSE(FDestroyed);
}

TEST_F(ExceptionHandlerTest, EmptyExceptionIsRefusedBeforeAnythingIsLogged) {
  std::unique_ptr<rtl::Exception> none;
  EXPECT_THROW(FHandler->ProcessException(none, true), rtl::EInvalidOperation);
  EXPECT_TRUE(FJournal.Events.empty());
}

TEST_F(ExceptionHandlerTest, FirstProcessingCreatesTheProcessLogger) {
  LogModule().Finalization();  // no logger exists now
  auto e = Tracked();
  FHandler->ProcessException(e, true);
  EXPECT_TRUE(FJournal.Events.empty());  // the new logger has no appender
  EXPECT_EQ(FAppender->RefCount(), 1);
  EXPECT_TRUE(GetLogger());
}

// A handler whose destruction can be observed.
class TTrackedHandler : public TExceptionHandler {
 public:
  explicit TTrackedHandler(bool& destroyed) : FDestroyed(destroyed) {}
  ~TTrackedHandler() override { FDestroyed = true; }

 private:
  bool& FDestroyed;
};

class ExceptionSlotTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetExceptionHandler(nullptr);
    LogModule().Finalization();
  }
};

TEST_F(ExceptionSlotTest, SetExceptionHandlerReleasesThePreviousHandler) {
  bool firstGone = false, secondGone = false;
  SetExceptionHandler(rtl::IPtr<IExceptionHandler>(rtl::Create<TTrackedHandler>(firstGone)));
  SetExceptionHandler(rtl::IPtr<IExceptionHandler>(rtl::Create<TTrackedHandler>(secondGone)));
  EXPECT_TRUE(firstGone);
  EXPECT_FALSE(secondGone);

  rtl::IPtr<IExceptionHandler> held = ExceptionHandler();
  SetExceptionHandler(nullptr);
  EXPECT_FALSE(ExceptionHandler());
  EXPECT_FALSE(secondGone);  // someone else still holds it
  held = nullptr;
  EXPECT_TRUE(secondGone);
}

TEST_F(ExceptionSlotTest, ModulesFillAndEmptyTheSlotInOrder) {
  TLogJournal journal;
  auto appender = MakeAppender("log", journal);
  {
    startup::TModuleRunner runner({IntfExceptionModule(), LogModule(), CoreExceptionModule()});
    runner.Initialize();
    ASSERT_TRUE(ExceptionHandler());
    GetLogger()->Register(appender);

    std::unique_ptr<rtl::Exception> e = rtl::EListError(u"Duplicates not allowed").Clone();
    ExceptionHandler()->ProcessException(e, true);
    EXPECT_FALSE(e);
    ASSERT_EQ(journal.Messages.size(), 1u);
    EXPECT_EQ(journal.Messages[0].Args,
              (rtl::TArgList{rtl::String(u"EListError"), rtl::String(u"Duplicates not allowed")}));

    runner.Finalize();
    EXPECT_FALSE(ExceptionHandler());
    EXPECT_EQ(appender->RefCount(), 1);  // the logger is gone too
  }
}

}  // namespace
}  // namespace qor
