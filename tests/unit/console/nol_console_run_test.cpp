// RunApp, the error path and the module's start-up and shut-down.
#include "tests/unit/console/console_test_support.h"

#include <stdexcept>

#include "framework/preferences/qor7420_intf_pref.h"
#include "framework/preferences/qor7420_pref_core.h"

namespace qor::test {
namespace {

// Counts the flushes the manager passes on.
class TFlushCounter : public rtl::TInterfaced<IQorPreferenceScalarEngine> {
 public:
  explicit TFlushCounter(int& flushes) : FFlushes(flushes) {}
  void Reload() override {}
  void Flush() override { ++FFlushes; }
  bool FindValue(rtl::StringView, rtl::String&) override { return false; }
  bool SaveValue(rtl::StringView, rtl::StringView, TPrefType) override { return false; }
  bool ValueExists(rtl::StringView) override { return false; }
  void ExportValues(rtl::TStringList&) override {}

 private:
  int& FFlushes;
};

// What the actions did; plain procedures reach it through a global.
struct TRun {
  std::vector<std::string> Calls;
  std::uint32_t TickStep = 0;
};
TRun& Journal() {
  static TRun run;
  return run;
}

class RunTest : public ConsoleTest {
 protected:
  void SetUp() override {
    ConsoleTest::SetUp();
    Journal() = {};
    PreferenceManager() = rtl::IPtr<IQorPreferenceManager>(rtl::Create<TQorPreferenceManager>());
    PreferenceManager()->RegisterEngine(u"counter", rtl::IPtr<IQorPreferenceEngine>(rtl::Create<TFlushCounter>(Flushes)));
  }
  void TearDown() override {
    PreferenceManager() = nullptr;
    ConsoleTest::TearDown();
  }

  // A fresh instance in the slot with a log file.
  TConsoleApp& App() {
    ConsoleApp = std::make_unique<TConsoleApp>();
    ConsoleApp->SetLogFile(u"tool.log");
    ConsoleApp->SetHelpStr(u"usage: tool -import");
    return *ConsoleApp;
  }

  int Flushes = 0;
};

void ImportAction() { Journal().Calls.push_back("import"); }
void SecondImportAction() { Journal().Calls.push_back("second import"); }
void FailingAction() {
  Journal().Calls.push_back("fail");
  throw rtl::EConvertError(u"'abc' is not a valid integer value");
}
void ForeignFailure() { throw std::runtime_error("not ours"); }
void NotifyRecorder(rtl::StringView subject, rtl::StringView body) {
  Journal().Calls.push_back("notify " + rtl::StringToUtf8(subject) + " | " + rtl::StringToUtf8(body));
}
void FailingNotify(rtl::StringView, rtl::StringView) { throw rtl::EInvalidOperation(u"mail server down"); }

TEST_F(RunTest, AnActionNamedInAnotherLetterCaseRunsAndIsLoggedUpperCased) {
  Args({u"Import"});
  TConsoleApp& app = App();
  app.RegisterAction(u"import", &ImportAction);
  app.RegisterAction(u"IMPORT", &SecondImportAction);  // kept, but the first wins
  Fake.Clock().TickStep = 90000;
  EXPECT_EQ(ExitCodeOf([&] { app.RunApp(); }), 0);
  EXPECT_EQ(Journal().Calls, std::vector<std::string>{"import"});
  EXPECT_EQ(FileText(u"tool.log"), "14:05:09 : Action IMPORT done in 1,50 min\r\n");
  EXPECT_EQ(Flushes, 1);
}

TEST_F(RunTest, ElapsedTimeSurvivesAWrapOfTheTickCounter) {
  Args({u"-import"});
  TConsoleApp& app = App();
  app.RegisterAction(u"-Import", &ImportAction);
  Fake.Clock().Tick = 0xFFFFFFFFu - 29999u;
  Fake.Clock().TickStep = 60000;
  EXPECT_EQ(ExitCodeOf([&] { app.RunApp(); }), 0);
  EXPECT_EQ(FileText(u"tool.log"), "14:05:09 : Action -IMPORT done in 1,00 min\r\n");
}

// The name is upper-cased in its ASCII letters only, and the lookup ignores the
// case of every letter.
TEST_F(RunTest, ActionNamesCompareInEveryLettersCase) {
  Args({u"-\u00E4ndern"});
  TConsoleApp& app = App();
  app.RegisterAction(u"-\u00C4NDERN", &ImportAction);  // differs in a non-ASCII letter
  EXPECT_EQ(ExitCodeOf([&] { app.RunApp(); }), 0);
  EXPECT_EQ(Journal().Calls.size(), 1u);
  // The entry names the parameter; the Russian ANSI page has no "\u00E4".
  EXPECT_EQ(FileText(u"tool.log"), "14:05:09 : Action -?NDERN done in 0,00 min\r\n");
}

TEST_F(RunTest, NoParameterOrAnUnknownOneLogsTheHelpTextWithoutTime) {
  for (bool unknown : {false, true}) {
    ConsoleApp.reset();
    Fake.Files().Delete(u"tool.log");
    if (unknown)
      Args({u"-export"});
    else
      Args({});
    TConsoleApp& app = App();
    app.RegisterAction(u"-import", &ImportAction);
    EXPECT_EQ(ExitCodeOf([&] { app.RunApp(); }), 0);
    EXPECT_EQ(FileText(u"tool.log"), "usage: tool -import\r\n");
  }
  EXPECT_TRUE(Journal().Calls.empty());
  EXPECT_EQ(Flushes, 2);
}

TEST_F(RunTest, AFailingActionWritesTheTwoLineEntryAndEndsWithOne) {
  Args({u"Import", u"file.csv"});
  TConsoleApp& app = App();
  app.RegisterAction(u"import", &FailingAction);
  app.SetOnErrorNotify(&NotifyRecorder);
  EXPECT_EQ(ExitCodeOf([&] { app.RunApp(); }), 1);
  EXPECT_EQ(FileText(u"tool.log"), "14:05:09 : EConvertError: \r\n'abc' is not a valid integer value\r\n");
  // The subject names the parameter as given; preferences are not flushed.
  EXPECT_EQ(Journal().Calls, (std::vector<std::string>{"fail", "notify Import error | 'abc' is not a valid integer value"}));
  EXPECT_EQ(Flushes, 0);
}

TEST_F(RunTest, AFailingNotificationIsLoggedAndTheCodeStaysOne) {
  Args({u"-import"});
  TConsoleApp& app = App();
  app.RegisterAction(u"-import", &FailingAction);
  app.SetOnErrorNotify(&FailingNotify);
  EXPECT_EQ(ExitCodeOf([&] { app.RunApp(); }), 1);
  EXPECT_EQ(FileText(u"tool.log"),
            "14:05:09 : EConvertError: \r\n'abc' is not a valid integer value\r\n"
            "14:05:09 : Error notify error mail server down\r\n");
}

TEST_F(RunTest, ExceptionsOfOtherKindsPassUnchanged) {
  Args({u"-x"});
  TConsoleApp& app = App();
  app.RegisterAction(u"-x", &ForeignFailure);
  EXPECT_THROW(app.RunApp(), std::runtime_error);
  EXPECT_EQ(FileText(u"tool.log"), "");
}

TEST_F(RunTest, TheCompletionEntryGoesThroughTheInstanceInTheSlot) {
  Args({u"-import"});
  App();  // the slot's instance logs to tool.log
  TConsoleApp other;
  other.SetLogFile(u"other.log");
  other.RegisterAction(u"-import", &ImportAction);
  EXPECT_EQ(ExitCodeOf([&] { other.RunApp(); }), 0);
  EXPECT_EQ(FileText(u"tool.log"), "14:05:09 : Action -IMPORT done in 0,00 min\r\n");
  EXPECT_EQ(FileText(u"other.log"), "");
}

// An override that returns from HandleRunError still ends with the failure code.
class TReturningApp : public TConsoleApp {
 public:
  void HandleRunError(const rtl::Exception& E) override { LogRunError(E); }
};

TEST_F(RunTest, AnOverrideOfHandleRunErrorThatReturnsStillEndsWithOne) {
  Args({u"-import"});
  App();
  TReturningApp app;
  app.RegisterAction(u"-import", &FailingAction);
  EXPECT_EQ(ExitCodeOf([&] { app.RunApp(); }), 1);
  EXPECT_EQ(Flushes, 0);
}

// Records at destruction whether the slot was already empty.
bool& SlotEmptyAtDestruction() {
  static bool value = false;
  return value;
}
class TProbeApp : public TConsoleApp {
 public:
  ~TProbeApp() override { SlotEmptyAtDestruction() = ConsoleApp == nullptr; }
};

TEST_F(RunTest, ModuleFillsTheSlotAndEmptiesItBeforeDestroyingTheInstance) {
  Args({u"-a", u"b"});
  const startup::TModule& module = ConsoleModule();
  EXPECT_EQ(module.Name, u"nol_console");
  module.Initialization();
  ASSERT_TRUE(ConsoleApp);
  EXPECT_EQ(ConsoleApp->ParamList().Count(), 2);
  ConsoleApp = std::make_unique<TProbeApp>();
  SlotEmptyAtDestruction() = false;
  module.Finalization();
  EXPECT_FALSE(ConsoleApp);
  EXPECT_TRUE(SlotEmptyAtDestruction());
}

TEST_F(RunTest, EndingThroughRunAppRunsTheShutDownWhichDeletesThePidFile) {
  Args({u"-import"});
  Fake.Files().SetFile(u"tool.ini", "[Main]\r\nLogFile=tool.log\r\nPidFile=tool.pid\r\n");
  std::string pidWhileRunning;
  startup::TStartupUI ui;
  const int code = ExitCodeOf([&] {
    startup::RunProgram({ConsoleModule()}, ui, [&] {
      ConsoleApp->SetConfigFileName(u"tool.ini");
      ConsoleApp->RegisterAction(u"-import", &ImportAction);
      pidWhileRunning = FileText(u"tool.pid");
      ConsoleApp->RunApp();
      return 42;  // never reached
    });
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(pidWhileRunning, "4242");
  EXPECT_FALSE(Fake.Files().Contents(u"tool.pid"));
  EXPECT_FALSE(ConsoleApp);
  EXPECT_EQ(Fake.Files().OpenFileCount(), 0);
  EXPECT_EQ(FileText(u"tool.log"), "14:05:09 : Action -IMPORT done in 0,00 min\r\n");
}

}  // namespace
}  // namespace qor::test
