#include "framework/startup/module_runner.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "rtl/exceptions.h"

// A library's own exception class.
namespace vendorlib {
class ParseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
}  // namespace vendorlib

namespace qor::startup {
namespace {

std::vector<std::string>& Events() {
  static std::vector<std::string> events;
  return events;
}

template <int N>
void Init() {
  Events().push_back("init " + std::to_string(N));
}
template <int N>
void Fin() {
  Events().push_back("fin " + std::to_string(N));
}
void FailingInit() {
  Events().push_back("init failing");
  throw rtl::EConvertError(u"step failed");
}
void FailingFin() {
  Events().push_back("fin failing");
  throw rtl::Exception(u"finalisation failed");
}

struct HaltSignal {
  int Code;
};

void HaltingInit() {
  Events().push_back("init halting");
  Halt(5);
}

class ModuleRunnerTest : public testing::Test {
 protected:
  void SetUp() override { Events().clear(); }
  void TearDown() override { SetHaltHook(nullptr); }
  using V = std::vector<std::string>;
};

TEST_F(ModuleRunnerTest, InitialisesInOrderAndFinalisesInExactReverse) {
  {
    TModuleRunner runner({{u"a", Init<1>, Fin<1>},
                          {u"b", nullptr, Fin<2>},
                          {u"c", Init<3>, nullptr},
                          {u"d", Init<4>, Fin<4>}});
    runner.Initialize();
    EXPECT_EQ(runner.StartedCount(), 4);
    EXPECT_EQ(Events(), (V{"init 1", "init 3", "init 4"}));
    runner.Finalize();
    EXPECT_EQ(runner.StartedCount(), 0);
    runner.Finalize();  // once only
  }                     // nor again on destruction
  EXPECT_EQ(Events(), (V{"init 1", "init 3", "init 4", "fin 4", "fin 2", "fin 1"}));
}

TEST_F(ModuleRunnerTest, DestructionFinalisesWhatWasStarted) {
  {
    TModuleRunner runner({{u"a", Init<1>, Fin<1>}, {u"b", Init<2>, Fin<2>}});
    runner.Initialize();
  }
  EXPECT_EQ(Events(), (V{"init 1", "init 2", "fin 2", "fin 1"}));
}

TEST_F(ModuleRunnerTest, FailingStepFinalisesStartedModulesIncludingItselfThenRethrows) {
  TModuleRunner runner({{u"a", Init<1>, Fin<1>},
                        {u"b", Init<2>, Fin<2>},
                        {u"failing", FailingInit, Fin<3>},
                        {u"never", Init<4>, Fin<4>}});
  try {
    runner.Initialize();
    FAIL() << "the failure must reach the caller";
  } catch (const rtl::EConvertError& e) {
    EXPECT_EQ(e.Message(), u"step failed");
  }
  EXPECT_EQ(Events(), (V{"init 1", "init 2", "init failing", "fin 3", "fin 2", "fin 1"}));
  EXPECT_EQ(runner.StartedCount(), 0);
}

TEST_F(ModuleRunnerTest, RaisingFinalisationDoesNotStopTheOthers) {
  TModuleRunner runner({{u"a", Init<1>, Fin<1>}, {u"b", Init<2>, FailingFin}, {u"c", Init<3>, Fin<3>}});
  runner.Initialize();
  runner.Finalize();
  EXPECT_EQ(Events(), (V{"init 1", "init 2", "init 3", "fin 3", "fin failing", "fin 1"}));
}

TEST_F(ModuleRunnerTest, RunProgramRunsEntryBetweenTheSteps) {
  TStartupUI ui;
  bool uiSeen = false;
  ui.AskYesNo = [](rtl::StringView, rtl::StringView) { return true; };
  const int code = RunProgram({{u"a", Init<1>, Fin<1>}, {u"b", Init<2>, Fin<2>}}, ui, [&] {
    Events().push_back("entry");
    uiSeen = static_cast<bool>(StartupUI().AskYesNo);
    return 7;
  });
  EXPECT_EQ(code, 7);
  EXPECT_TRUE(uiSeen);
  EXPECT_FALSE(StartupUI().AskYesNo) << "the calls belong to the running program only";
  EXPECT_EQ(Events(), (V{"init 1", "init 2", "entry", "fin 2", "fin 1"}));
}

TEST_F(ModuleRunnerTest, RunProgramShowsAStartupFailureAndReturnsOne) {
  TStartupUI ui;
  std::vector<rtl::String> shown;
  ui.ShowStartupFailure = [&](rtl::StringView message) { shown.emplace_back(message); };
  bool entered = false;
  const int code = RunProgram({{u"a", Init<1>, Fin<1>}, {u"failing", FailingInit, Fin<2>}, {u"c", Init<3>, Fin<3>}},
                              ui, [&] {
                                entered = true;
                                return 0;
                              });
  EXPECT_EQ(code, 1);
  EXPECT_FALSE(entered);
  EXPECT_EQ(shown, (std::vector<rtl::String>{u"step failed"}));
  EXPECT_EQ(Events(), (V{"init 1", "init failing", "fin 2", "fin 1"}));
}

// Exceptions that are not the runtime's own are reported with the class name the
// C++ runtime gives, then the program shuts down with code 1.
TEST_F(ModuleRunnerTest, RunProgramReportsAnyExceptionFromEntryThenShutsDown) {
  struct TCase {
    std::function<void()> Raise;
    rtl::String Report;
  };
  const std::vector<TCase> cases = {
      {[] { throw std::bad_alloc(); }, u"std::bad_alloc: std::bad_alloc"},
      {[] { throw vendorlib::ParseError("unexpected token"); }, u"vendorlib::ParseError: unexpected token"},
      {[] { throw rtl::EConvertError(u"not a number"); }, u"EConvertError: not a number"},
  };
  for (const TCase& c : cases) {
    Events().clear();
    std::vector<rtl::String> reports;
    TStartupUI ui;
    ui.ShowException = [&](const rtl::Exception& e) {
      Events().push_back("report");
      reports.push_back(rtl::String(e.ClassName()) + u": " + e.Message());
    };
    const int code = RunProgram({{u"a", Init<1>, Fin<1>}, {u"b", Init<2>, Fin<2>}}, ui, [&] {
      c.Raise();
      return 0;
    });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(reports, (std::vector<rtl::String>{c.Report}));
    EXPECT_EQ(Events(), (V{"init 1", "init 2", "report", "fin 2", "fin 1"})) << "the report comes before the shut-down";
  }
  // Without its own report, the start-up failure message carries it.
  TStartupUI ui;
  std::vector<rtl::String> shown;
  ui.ShowStartupFailure = [&](rtl::StringView message) { shown.emplace_back(message); };
  EXPECT_EQ(RunProgram({}, ui, []() -> int { throw 42; }), 1);
  EXPECT_EQ(shown, (std::vector<rtl::String>{u"Exception: "}));
}

TEST_F(ModuleRunnerTest, HaltFinalisesInReverseBeforeTheProcessEnds) {
  SetHaltHook([](int code) {
    Events().push_back("halt " + std::to_string(code));
    throw HaltSignal{code};
  });
  try {
    RunProgram({{u"a", Init<1>, Fin<1>}, {u"b", Init<2>, Fin<2>}, {u"c", Init<3>, Fin<3>}}, {}, [] {
      Events().push_back("entry");
      Halt(3);
      Events().push_back("after halt");
      return 0;
    });
    FAIL() << "Halt must not return";
  } catch (const HaltSignal& s) {
    EXPECT_EQ(s.Code, 3);
  }
  EXPECT_EQ(Events(), (V{"init 1", "init 2", "init 3", "entry", "fin 3", "fin 2", "fin 1", "halt 3"}));
}

TEST_F(ModuleRunnerTest, HaltDuringStartupFinalisesTheStartedModules) {
  SetHaltHook([](int code) { throw HaltSignal{code}; });
  EXPECT_THROW(RunProgram({{u"a", Init<1>, Fin<1>}, {u"halting", HaltingInit, Fin<2>}, {u"c", Init<3>, Fin<3>}}, {},
                          [] { return 0; }),
               HaltSignal);
  EXPECT_EQ(Events(), (V{"init 1", "init halting", "fin 2", "fin 1"}));
}

TEST_F(ModuleRunnerTest, HaltOutsideAProgramOnlyEnds) {
  SetHaltHook([](int code) { throw HaltSignal{code}; });
  EXPECT_THROW(Halt(2), HaltSignal);
  EXPECT_TRUE(Events().empty());
}

}  // namespace
}  // namespace qor::startup
