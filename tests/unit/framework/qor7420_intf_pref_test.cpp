#include "framework/preferences/qor7420_intf_pref.h"

#include <gtest/gtest.h>

#include "framework/preferences/qor7420_pref_core.h"
#include "framework/startup/module_runner.h"
#include "rtl/datetime.h"
#include "tests/unit/framework/pref_test_support.h"

namespace qor {
namespace {

class PrefFormatSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { IntfPrefModule().Initialization(); }
  void TearDown() override { IntfPrefModule().Finalization(); }
  test::TFakePlatformScope FPlatform;
};

TEST_F(PrefFormatSettingsTest, FixedFieldsOverTheSystemDefaultLocale) {
  // A system locale unlike the fixed fields in every one of them.
  rtl::TFormatSettings& system = FPlatform.Platform.Locale().System;
  system.DateSeparator = u'/';
  system.TimeSeparator = u'-';
  system.ShortDateFormat = u"M/d/yyyy";
  system.LongDateFormat = u"dddd, MMMM d, yyyy";
  system.ShortTimeFormat = u"h:mm tt";
  system.LongTimeFormat = u"h:mm:ss tt";
  system.DecimalSeparator = u',';
  system.ThousandSeparator = u' ';
  system.CurrencyString = u"kr";
  system.ListSeparator = u';';
  system.LongMonthNames[2] = u"marzo";
  system.TimeAMString = u"vorm.";
  system.TwoDigitYearCenturyWindow = 30;
  FPlatform.Platform.Locale().User.CurrencyString = u"not the user's";
  IntfPrefModule().Initialization();

  const rtl::TFormatSettings& fs = PrefFormatSettings();
  EXPECT_EQ(fs.DateSeparator, u'.');
  EXPECT_EQ(fs.TimeSeparator, u':');
  EXPECT_EQ(fs.ShortDateFormat, u"dd.MM.yyyy");
  EXPECT_EQ(fs.LongDateFormat, u"dd.MM.yyyy");
  EXPECT_EQ(fs.ShortTimeFormat, u"h:mm");
  EXPECT_EQ(fs.LongTimeFormat, u"h:mm:ss");
  EXPECT_EQ(fs.DecimalSeparator, u'.');
  EXPECT_EQ(fs.ThousandSeparator, u'\'');
  // The rest comes from the system default locale.
  EXPECT_EQ(fs.CurrencyString, u"kr");
  EXPECT_EQ(fs.ListSeparator, u';');
  EXPECT_EQ(fs.LongMonthNames[2], u"marzo");
  EXPECT_EQ(fs.TimeAMString, u"vorm.");
  EXPECT_EQ(fs.TwoDigitYearCenturyWindow, 30);
}

TEST_F(PrefFormatSettingsTest, FormatsDatesAndTimesWhateverTheProcessSettings) {
  rtl::TFormatSettings saved = rtl::FormatSettings();
  rtl::FormatSettings().DateSeparator = u'/';
  rtl::FormatSettings().TimeSeparator = u'-';
  rtl::FormatSettings().ShortDateFormat = u"yyyy/mm/dd";
  const rtl::TFormatSettings& fs = PrefFormatSettings();
  const rtl::TDateTime afternoon = rtl::EncodeDateTime(2017, 3, 5, 13, 7, 9, 0);
  const rtl::TDateTime morning = rtl::EncodeDateTime(2017, 3, 5, 9, 5, 0, 0);
  EXPECT_EQ(rtl::FormatDateTime(fs.ShortDateFormat, afternoon, fs), u"05.03.2017");
  EXPECT_EQ(rtl::FormatDateTime(fs.LongTimeFormat, afternoon, fs), u"13:07:09");
  EXPECT_EQ(rtl::FormatDateTime(fs.LongTimeFormat, morning, fs), u"9:05:00");
  rtl::FormatSettings() = saved;
}

TEST_F(PrefFormatSettingsTest, ShutDownReleasesTheSettings) {
  IntfPrefModule().Finalization();
  EXPECT_TRUE(PrefFormatSettings().ShortDateFormat.empty());
  IntfPrefModule().Initialization();
  EXPECT_EQ(PrefFormatSettings().ShortDateFormat, u"dd.MM.yyyy");
}

TEST(PrefModules, CoreFillsTheSlotAndBothShutDownsEmptyIt) {
  test::TFakePlatformScope platform;
  test::TCalls calls;
  auto engine = test::Make<test::TScalarEngine>("E", calls);
  startup::TModuleRunner runner({IntfPrefModule(), PrefCoreModule()});
  EXPECT_FALSE(PreferenceManager());
  runner.Initialize();
  ASSERT_TRUE(PreferenceManager());
  PreferenceManager()->RegisterEngine(u"E", test::AsEngine(engine));
  PreferenceManager()->SaveStr(u"a", u"b", 1);
  EXPECT_EQ(engine->RefCount(), 3);  // ours, the name, the scalar list

  // The core's shut-down destroys the manager without a flush; the interface
  // unit's second emptying finds nothing.
  runner.Finalize();
  EXPECT_FALSE(PreferenceManager());
  EXPECT_EQ(engine->RefCount(), 1);
  EXPECT_EQ(calls, (test::TCalls{"E:save a"}));
  EXPECT_TRUE(PrefFormatSettings().ShortDateFormat.empty());
}

class TypeDictTest : public ::testing::Test {
 protected:
  rtl::IPtr<IQorPreferenceManager> FManager{rtl::Create<TQorPreferenceManager>()};
};

TEST_F(TypeDictTest, IsTheManagersOwnDictionary) {
  TPrefTypeDict& first = FManager->PrefTypeDict();
  TPrefTypeDict& second = FManager->PrefTypeDict();
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(first.Count(), 0);
  first.Add(u"prf_geo_broker_url", 8);
  ASSERT_NE(second.Find(u"prf_geo_broker_url"), nullptr);
  EXPECT_EQ(*second.Find(u"prf_geo_broker_url"), 8);
}

TEST_F(TypeDictTest, ExactKeysAndDuplicatesRefused) {
  TPrefTypeDict& dict = FManager->PrefTypeDict();
  dict.Add(u"Name", 1);
  dict.Add(u"name", 2);
  dict.Add(u"name ", 3);
  EXPECT_EQ(dict.Count(), 3);
  try {
    dict.Add(u"name", 9);
    FAIL() << "a duplicate must be refused";
  } catch (const rtl::EListError& e) {
    EXPECT_EQ(e.Message(), u"Duplicates not allowed");
  }
  EXPECT_EQ(*dict.Find(u"name"), 2);
  EXPECT_EQ(dict.Count(), 3);
}

}  // namespace
}  // namespace qor
