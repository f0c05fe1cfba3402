// The framework's start-up order, its state after start-up, its failure path and
// the small start-up modules, against the fake platform.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

#include "framework/console/nol_console.h"
#include "framework/crypt/qor7420_core_crypt.h"
#include "framework/crypt/qor7420_intf_crypt.h"
#include "framework/exceptions/qor7420_intf_exception.h"
#include "framework/log/qor7420_intf_log.h"
#include "framework/preferences/qor7420_intf_pref.h"
#include "framework/startup/fixed_format_settings.h"
#include "framework/startup/framework_modules.h"
#include "framework/startup/offline_mode.h"
#include "framework/startup/program_file_date.h"
#include "platform/fake/fake_platform.h"
#include "rtl/convert.h"
#include "rtl/datetime.h"

namespace qor {
namespace {

using startup::TModule;
using startup::TModuleTable;

// Records every step of a table by routing it through numbered trampolines.
struct TStepLog {
  std::vector<rtl::String> Steps;
  TModuleTable Original;
};
TStepLog& Log() {
  static TStepLog log;
  return log;
}
template <std::size_t I>
void RecordInit() {
  Log().Steps.push_back(u"+" + rtl::String(Log().Original[I].Name));
  if (Log().Original[I].Initialization) Log().Original[I].Initialization();
}
template <std::size_t I>
void RecordFin() {
  Log().Steps.push_back(u"-" + rtl::String(Log().Original[I].Name));
  if (Log().Original[I].Finalization) Log().Original[I].Finalization();
}
template <std::size_t... I>
TModuleTable Recorded(TModuleTable table, std::index_sequence<I...>) {
  Log() = {{}, table};
  TModuleTable out;
  ((I < table.size() ? out.push_back({table[I].Name, &RecordInit<I>, &RecordFin<I>}) : void()), ...);
  return out;
}
TModuleTable Recorded(TModuleTable table) { return Recorded(std::move(table), std::make_index_sequence<24>{}); }

class FrameworkStartup : public ::testing::Test {
 protected:
  FrameworkStartup() : FScope(FPlatform) {}
  ~FrameworkStartup() override { rtl::FormatSettings() = rtl::NeutralFormatSettings(); }

  // Runs the table around entry; returns the exit code.
  int Run(TModuleTable table, const std::function<int()>& entry) {
    startup::TStartupUI ui;
    ui.AskYesNo = [this](rtl::StringView caption, rtl::StringView text) {
      FQuestions.push_back({rtl::String(caption), rtl::String(text)});
      return FAnswerYes;
    };
    ui.ShowStartupFailure = [this](rtl::StringView message) { FFailures.push_back(rtl::String(message)); };
    return startup::RunProgram(std::move(table), ui, entry);
  }

  platform::fake::TFakePlatform FPlatform;
  platform::TScopedPlatform FScope;
  bool FAnswerYes = false;
  std::vector<std::pair<rtl::String, rtl::String>> FQuestions;
  std::vector<rtl::String> FFailures;
};

TEST_F(FrameworkStartup, RunsEveryStepInOrderAndFinalisesInExactReverse) {
  FPlatform.Internet().State = platform::kInternetStateDisconnectedByUser;
  int entryAt = -1;
  const int code = Run(Recorded(FrameworkModules()), [&] {
    entryAt = static_cast<int>(Log().Steps.size());
    return 0;
  });
  EXPECT_EQ(code, 0);
  const std::vector<rtl::String> order = {
      u"runtime locale",     u"qor7420_intf_pref",     u"qor7420_intf_exception", u"qor7420_intf_log",
      u"qor7420_core_exception", u"qor7420_intf_crypt", u"qor7420_core_crypt",     u"qor7420_pref_core",
      u"locale defaults",    u"fixed format settings", u"socket library",         u"network settings",
      u"broker url",         u"nol_console",           u"program file date"};
  std::vector<rtl::String> expected;
  for (const auto& name : order) expected.push_back(u"+" + name);
  for (auto it = order.rbegin(); it != order.rend(); ++it) expected.push_back(u"-" + *it);
  EXPECT_EQ(Log().Steps, expected);
  EXPECT_EQ(entryAt, static_cast<int>(order.size()));
}

TEST_F(FrameworkStartup, ServicesAreSetDuringTheRunAndEmptiedAfterIt) {
  FPlatform.Files().SetFile(FPlatform.Files().ProgramFile, "exe", rtl::EncodeDate(2017, 3, 15) + 0.5);
  FPlatform.Locale().User.DecimalSeparator = u'.';
  FPlatform.Locale().User.ShortDateFormat = u"M/d/yyyy";
  const int code = Run(FrameworkModules(), [] {
    EXPECT_TRUE(PreferenceManager());
    EXPECT_TRUE(ExceptionHandler());
    EXPECT_TRUE(CryptEngine);
    EXPECT_TRUE(ConsoleApp);
    EXPECT_TRUE(FixedFormatSettings().has_value());
    EXPECT_FALSE(LoggerCreated());  // made by the first exception handled, not by start-up
    // The type dictionary holds exactly the broker URL.
    TPrefTypeDict& dict = PreferenceManager()->PrefTypeDict();
    EXPECT_EQ(dict.Count(), 1);
    const TPrefType* code8 = dict.Find(u"prf_geo_broker_url");
    EXPECT_TRUE(code8 && *code8 == 8);
    // One crypter class, found by name and by the base interface.
    const TQorCrypterClass* byName = CryptEngine->FindCrypter(u"BLOWFISH");
    EXPECT_NE(byName, nullptr);
    EXPECT_EQ(CryptEngine->FindCrypter(IQorCrypter::IID), byName);
    // Decimal ',' and "dd.mm.yyyy" whatever the user's locale.
    EXPECT_EQ(rtl::FloatToStr(1.5), u"1,5");
    EXPECT_EQ(ProgramFileDate(), u"15.03.2017");
    EXPECT_EQ(FixedFormatSettings()->LongTimeFormat, u"hh:mm:ss.zzz");
    // The first exception handed over creates the logger; shut-down releases it too.
    std::unique_ptr<rtl::Exception> e = std::make_unique<rtl::EConvertError>(u"bad");
    ExceptionHandler()->ProcessException(e, true);
    EXPECT_TRUE(LoggerCreated());
    return 0;
  });
  EXPECT_FALSE(LoggerCreated());
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(PreferenceManager());
  EXPECT_FALSE(ExceptionHandler());
  EXPECT_FALSE(CryptEngine);
  EXPECT_FALSE(ConsoleApp);
  EXPECT_FALSE(FixedFormatSettings().has_value());
  EXPECT_EQ(ProgramFileDate(), u"");
  EXPECT_EQ(FPlatform.Sockets().Startups, 1);
  EXPECT_EQ(FPlatform.Sockets().Cleanups, 1);
  EXPECT_TRUE(FQuestions.empty());  // not offline: no question
}

TEST_F(FrameworkStartup, FailingSocketLibraryFinalisesOnlyStartedModulesAndGivesCodeOne) {
  FPlatform.Sockets().StartupResult = false;
  bool entered = false;
  const int code = Run(Recorded(FrameworkModules()), [&] {
    entered = true;
    return 0;
  });
  EXPECT_EQ(code, 1);
  EXPECT_FALSE(entered);
  ASSERT_EQ(FFailures.size(), 1u);
  EXPECT_EQ(FFailures[0], u"Error loading Socket interface (ws2_32.dll)!");
  const auto& steps = Log().Steps;
  ASSERT_FALSE(steps.empty());
  // The failing module's finalisation runs first, nothing after it was started.
  const auto failing = std::find(steps.begin(), steps.end(), u"-socket library");
  ASSERT_NE(failing, steps.end());
  EXPECT_EQ(*(failing - 1), u"+socket library");
  EXPECT_EQ(std::count_if(steps.begin(), steps.end(), [](const rtl::String& s) { return s == u"+network settings"; }),
            0);
  EXPECT_EQ(steps.back(), u"-runtime locale");
  EXPECT_FALSE(PreferenceManager());
  EXPECT_FALSE(CryptEngine);
}

struct TOfflineCase {
  bool QueryFails;
  std::uint32_t State;
  bool AnswerYes;
  bool Asked;
  bool SwitchedOnline;
};

class OfflineQuestion : public FrameworkStartup, public ::testing::WithParamInterface<TOfflineCase> {};

TEST_P(OfflineQuestion, AsksOnlyInOfflineModeAndSwitchesOnlineOnYes) {
  const TOfflineCase& c = GetParam();
  FPlatform.Internet().QueryFails = c.QueryFails;
  FPlatform.Internet().State = c.State;
  FAnswerYes = c.AnswerYes;
  EXPECT_EQ(Run(FrameworkModules(), [] { return 0; }), 0);
  ASSERT_EQ(FQuestions.size(), c.Asked ? 1u : 0u);
  if (c.Asked) {
    EXPECT_EQ(FQuestions[0].first, u"Подтверждение");
    EXPECT_EQ(FQuestions[0].second,
              u"Подключение к интернету установлено в автономный режим.\r\n"
              u"В таком состоянии работа программы будет некорректна.\r\n"
              u"Выключить автономный режим?");
  }
  if (c.SwitchedOnline) {
    ASSERT_EQ(FPlatform.Internet().SetCalls.size(), 1u);
    EXPECT_EQ(FPlatform.Internet().SetCalls[0], std::make_pair(platform::kInternetStateConnected, 0u));
  } else {
    EXPECT_TRUE(FPlatform.Internet().SetCalls.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    States, OfflineQuestion,
    ::testing::Values(TOfflineCase{false, platform::kInternetStateConnected, true, false, false},
                      TOfflineCase{false, platform::kInternetStateDisconnectedByUser, true, true, true},
                      TOfflineCase{false, platform::kInternetStateDisconnectedByUser | 1, false, true, false},
                      TOfflineCase{true, platform::kInternetStateDisconnectedByUser, true, false, false}));

TEST_F(FrameworkStartup, ConsoleToolsAreNotAskedAboutOfflineMode) {
  FPlatform.Internet().State = platform::kInternetStateDisconnectedByUser;
  EXPECT_EQ(Run(FrameworkModules({.OfflineModeCheck = false}), [] { return 0; }), 0);
  EXPECT_TRUE(FQuestions.empty());
}

TEST_F(FrameworkStartup, UnreadableProgramDateGivesEmptyString) {
  std::optional<rtl::String> seen;
  Run(FrameworkModules(), [&] {
    seen = ProgramFileDate();
    return 0;
  });
  EXPECT_EQ(seen, rtl::String());
}

}  // namespace
}  // namespace qor
