#include "framework/preferences/qor7420_pref_core.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "rtl/datetime.h"
#include "tests/unit/framework/pref_test_support.h"

namespace qor {
namespace {

using test::AsEngine;
using test::Make;
using test::TBothEngine;
using test::TCalls;
using test::TComponentEngine;
using test::TPlainEngine;
using test::TScalarEngine;

class PrefManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { IntfPrefModule().Initialization(); }
  void TearDown() override {
    FManager = nullptr;
    IntfPrefModule().Finalization();
  }
  template <class T>
  rtl::IPtr<T> Register(std::string name) {
    auto engine = Make<T>(name, FCalls);
    FManager->RegisterEngine(rtl::Utf8ToString(name), AsEngine(engine));
    return engine;
  }
  rtl::IPtr<TScalarEngine> Holding(std::string name, rtl::String value) {
    auto engine = Register<TScalarEngine>(name);
    engine->Core.Values[u"x"] = std::move(value);
    return engine;
  }

  test::TFakePlatformScope FPlatform;
  TCalls FCalls;
  rtl::IPtr<IQorPreferenceManager> FManager{rtl::Create<TQorPreferenceManager>()};
};

TEST_F(PrefManagerTest, NewestEngineAnswersFirst) {
  auto a = Holding("A", u"1");
  auto b = Holding("B", u"2");
  EXPECT_EQ(FManager->FindStr(u"x", u"d"), u"2");
  EXPECT_EQ(FManager->FindInt(u"x", 0), 2);
  EXPECT_EQ(FManager->FindDouble(u"x", 0), 2);
  EXPECT_TRUE(FManager->FindBool(u"x", false));
  EXPECT_EQ(FCalls, (TCalls(4, "B:find x")));

  FCalls.clear();
  FManager->UnRegisterEngine(u"B");
  EXPECT_EQ(FCalls, (TCalls{"B:flush"}));
  EXPECT_EQ(FManager->FindStr(u"x", u"d"), u"1");
  EXPECT_EQ(FManager->FindInt(u"x", 0), 1);
  EXPECT_EQ(b->RefCount(), 1);
}

TEST_F(PrefManagerTest, LookupFallsThroughToOlderEnginesAndTheDefault) {
  auto a = Holding("A", u"old");
  auto b = Register<TScalarEngine>("B");
  EXPECT_EQ(FManager->FindStr(u"x", u"d"), u"old");
  EXPECT_EQ(FManager->FindStr(u"y", u"d"), u"d");
  EXPECT_EQ(FCalls, (TCalls{"B:find x", "A:find x", "B:find y", "A:find y"}));
}

TEST_F(PrefManagerTest, StoreStopsAtTheFirstEngineThatTakesTheValue) {
  auto a = Register<TScalarEngine>("A");
  auto b = Register<TScalarEngine>("B");
  b->Core.Accept = false;
  FManager->SaveStr(u"x", u"v", 7);
  EXPECT_EQ(FCalls, (TCalls{"B:save x", "A:save x"}));
  EXPECT_EQ(a->Stored(u"x"), u"v");
  EXPECT_EQ(a->Core.SavedTypes, (std::vector<TPrefType>{7}));

  FCalls.clear();
  b->Core.Accept = true;
  FManager->SaveStr(u"x", u"w", 65535);
  EXPECT_EQ(FCalls, (TCalls{"B:save x"}));
  EXPECT_EQ(b->Stored(u"x"), u"w");
  EXPECT_EQ(b->Core.SavedTypes, (std::vector<TPrefType>{65535}));
  EXPECT_EQ(a->Stored(u"x"), u"v");
}

TEST_F(PrefManagerTest, NoEngineFindsDefaultsAndDropsSaves) {
  EXPECT_EQ(FManager->FindStr(u"x", u"dflt"), u"dflt");
  EXPECT_EQ(FManager->FindInt(u"x", -7), -7);
  EXPECT_TRUE(FManager->FindBool(u"x", true));
  EXPECT_EQ(FManager->FindDouble(u"x", 0.25L), 0.25L);
  // A date default loses its time of day on the way through text.
  EXPECT_EQ(FManager->FindDate(u"x", rtl::EncodeDateTime(2017, 3, 5, 13, 7, 9, 0)), rtl::EncodeDate(2017, 3, 5));
  EXPECT_NO_THROW(FManager->SaveStr(u"x", u"lost", 1));
  EXPECT_FALSE(FManager->Exists(u"x"));
  EXPECT_NO_THROW(FManager->Flush());
  const rtl::String strings[] = {u"a"};
  EXPECT_NO_THROW(FManager->LoadComponent(nullptr, strings));
  EXPECT_NO_THROW(FManager->SaveComponent(nullptr, strings));
}

TEST_F(PrefManagerTest, FindDateTimeDefaultDropsMillisecondsAndMidnightHasNoTime) {
  struct Case {
    rtl::TDateTime Default, Expected;
    const char16_t* Text;
  };
  const Case cases[] = {
      {rtl::EncodeDateTime(2017, 3, 5, 13, 7, 9, 250), rtl::EncodeDateTime(2017, 3, 5, 13, 7, 9, 0),
       u"05.03.2017 13:07:09"},
      {rtl::EncodeDate(2017, 3, 5), rtl::EncodeDate(2017, 3, 5), u"05.03.2017"},
      {rtl::EncodeDateTime(2017, 3, 5, 0, 0, 1, 0), rtl::EncodeDateTime(2017, 3, 5, 0, 0, 1, 0),
       u"05.03.2017 0:00:01"},
      {rtl::EncodeDateTime(2017, 3, 5, 9, 5, 0, 0), rtl::EncodeDateTime(2017, 3, 5, 9, 5, 0, 0),
       u"05.03.2017 9:05:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rtl::StringToUtf8(c.Text));
    EXPECT_EQ(FManager->FindDateTime(u"x", c.Default), c.Expected);
  }
  // The text the default travels through is the text a save writes.
  auto e = Register<TScalarEngine>("E");
  for (const Case& c : cases) {
    FManager->SaveDateTime(u"x", c.Default, 1);
    EXPECT_EQ(e->Stored(u"x"), c.Text);
  }
}

TEST_F(PrefManagerTest, SavesWriteTheDocumentedTexts) {
  auto e = Register<TScalarEngine>("E");
  struct Case {
    void (*Save)(IQorPreferenceManager&);
    const char16_t* Text;
  };
  const Case cases[] = {
      {[](IQorPreferenceManager& m) { m.SaveInt(u"x", -5, 1); }, u"-5"},
      {[](IQorPreferenceManager& m) { m.SaveInt(u"x", INT64_MIN, 1); }, u"-9223372036854775808"},
      {[](IQorPreferenceManager& m) { m.SaveBool(u"x", true, 1); }, u"-1"},
      {[](IQorPreferenceManager& m) { m.SaveBool(u"x", false, 1); }, u"0"},
      {[](IQorPreferenceManager& m) { m.SaveDouble(u"x", 1.5L, 1); }, u"1.5"},
      {[](IQorPreferenceManager& m) { m.SaveDouble(u"x", -1234567.25L, 1); }, u"-1234567.25"},
      {[](IQorPreferenceManager& m) { m.SaveDouble(u"x", 1.0L / 3, 1); }, u"0.333333333333333"},
      {[](IQorPreferenceManager& m) { m.SaveDate(u"x", rtl::EncodeDate(2017, 3, 5), 1); }, u"05.03.2017"},
      {[](IQorPreferenceManager& m) { m.SaveDate(u"x", rtl::EncodeDate(1066, 10, 14), 1); }, u"14.10.1066"},
      {[](IQorPreferenceManager& m) { m.SaveStr(u"x", u" as is ", 1); }, u" as is "},
  };
  rtl::TFormatSettings saved = rtl::FormatSettings();
  rtl::FormatSettings().DecimalSeparator = u',';  // the process-wide settings play no part
  for (const Case& c : cases) {
    c.Save(*FManager);
    EXPECT_EQ(e->Stored(u"x"), c.Text);
  }
  rtl::FormatSettings() = saved;
}

TEST_F(PrefManagerTest, FindDoubleReadsEitherSeparatorOnce) {
  auto e = Register<TScalarEngine>("E");
  struct Case {
    const char16_t* Stored;
    rtl::Extended Expected;
  };
  const Case cases[] = {
      {u"1,5", 1.5L}, {u"1.5", 1.5L}, {u"-0,25", -0.25L}, {u"1,234,5", 99.0L}, {u"1.234,5", 99.0L},
      {u"abc", 99.0L}, {u"", 99.0L},  {u"2E10", 2e10L},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rtl::StringToUtf8(c.Stored));
    e->Core.Values[u"x"] = c.Stored;
    EXPECT_EQ(FManager->FindDouble(u"x", 99.0L), c.Expected);
  }
}

TEST_F(PrefManagerTest, FindBoolReadsNumbersAndWords) {
  auto e = Register<TScalarEngine>("E");
  struct Case {
    const char16_t* Stored;
    bool Expected;
  };
  const Case cases[] = {{u"true", true}, {u"TRUE", true}, {u"2", true}, {u"-1", true},
                        {u"0", false},   {u"False", false}, {u"fAlSe", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(rtl::StringToUtf8(c.Stored));
    e->Core.Values[u"x"] = c.Stored;
    EXPECT_EQ(FManager->FindBool(u"x", !c.Expected), c.Expected);
  }
}

TEST_F(PrefManagerTest, StoredTextsThatDoNotConvertRaise) {
  auto e = Register<TScalarEngine>("E");
  struct Case {
    const char16_t* Stored;
    void (*Find)(IQorPreferenceManager&);
    const char16_t* Message;
  };
  const Case cases[] = {
      {u"abc", [](IQorPreferenceManager& m) { m.FindInt(u"x", 1); }, u"''abc'' is not a valid integer value"},
      {u"99999999999999999999", [](IQorPreferenceManager& m) { m.FindInt(u"x", 1); },
       u"''99999999999999999999'' is not a valid integer value"},
      {u"yes", [](IQorPreferenceManager& m) { m.FindBool(u"x", true); }, u"'yes' is not a valid boolean value"},
      {u"31.02.2017", [](IQorPreferenceManager& m) { m.FindDate(u"x", 0); }, u"''31.02.2017'' is not a valid date"},
      {u"2017-03-05", [](IQorPreferenceManager& m) { m.FindDate(u"x", 0); }, u"''2017-03-05'' is not a valid date"},
      {u"05.03.2017 25:00:00", [](IQorPreferenceManager& m) { m.FindDateTime(u"x", 0); },
       u"''05.03.2017 25:00:00'' is not a valid date and time"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rtl::StringToUtf8(c.Stored));
    e->Core.Values[u"x"] = c.Stored;
    try {
      c.Find(*FManager);
      ADD_FAILURE() << "no conversion error";
    } catch (const rtl::EConvertError& error) {
      EXPECT_EQ(error.Message(), c.Message);
    }
  }
}

TEST_F(PrefManagerTest, EngineErrorsReachTheCallerExceptInFindDouble) {
  auto e = Holding("E", u"5");
  e->Core.RaiseFind = true;
  EXPECT_EQ(FManager->FindDouble(u"x", 2.5L), 2.5L);
  EXPECT_THROW(FManager->FindInt(u"x", 1), rtl::EReadError);
  EXPECT_THROW(FManager->FindStr(u"x", u""), rtl::EReadError);
  EXPECT_THROW(FManager->FindDateTime(u"x", 0), rtl::EReadError);
}

TEST_F(PrefManagerTest, EnginesOfBothKindsAreScalarOnly) {
  auto comp = Register<TComponentEngine>("C");
  auto both = Register<TBothEngine>("B");
  both->Core.Values[u"x"] = u"from both";
  EXPECT_EQ(FManager->FindStr(u"x", u""), u"from both");
  EXPECT_TRUE(FManager->Exists(u"x"));

  FCalls.clear();
  int component = 0;
  const rtl::String strings[] = {u"Form1", u"Left"};
  FManager->LoadComponent(&component, strings);
  FManager->SaveComponent(&component, strings);
  EXPECT_EQ(FCalls, (TCalls{"C:load", "C:savecomp"}));
  EXPECT_EQ(comp->LastComponent, &component);
  EXPECT_EQ(comp->LastStrings, (std::vector<rtl::String>{u"Form1", u"Left"}));
}

TEST_F(PrefManagerTest, OnlyTheNewestComponentEngineIsUsed) {
  auto older = Register<TComponentEngine>("C1");
  auto newer = Register<TComponentEngine>("C2");
  FManager->SaveComponent(nullptr, {});
  EXPECT_EQ(FCalls, (TCalls{"C2:savecomp"}));
  FCalls.clear();
  FManager->UnRegisterEngine(u"C2");
  FManager->LoadComponent(nullptr, {});
  EXPECT_EQ(FCalls, (TCalls{"C2:flush", "C1:load"}));
  EXPECT_FALSE(FManager->Exists(u"x"));  // component engines are not asked
  EXPECT_EQ(FCalls.size(), 2u);
}

TEST_F(PrefManagerTest, PlainEngineIsOnlyFlushed) {
  auto plain = Register<TPlainEngine>("P");
  FManager->FindStr(u"x", u"");
  FManager->SaveInt(u"x", 1, 1);
  FManager->Exists(u"x");
  rtl::TStringList list;
  FManager->Export(list);
  FManager->LoadComponent(nullptr, {});
  FManager->Flush();
  FManager->UnRegisterEngine(u"P");
  EXPECT_EQ(FCalls, (TCalls{"P:flush", "P:flush"}));
  EXPECT_EQ(plain->RefCount(), 1);
}

TEST_F(PrefManagerTest, FlushReachesEveryEngineOnce) {
  auto a = Register<TScalarEngine>("A");
  auto c = Register<TComponentEngine>("C");
  auto p = Register<TPlainEngine>("P");
  FManager->Flush();
  std::sort(FCalls.begin(), FCalls.end());
  EXPECT_EQ(FCalls, (TCalls{"A:flush", "C:flush", "P:flush"}));
}

TEST_F(PrefManagerTest, NamesAreExactAndADuplicateFailsTheAssertion) {
  auto upper = Holding("Db", u"upper");
  auto lower = Holding("db", u"lower");
  auto again = Make<TScalarEngine>("db2", FCalls);
  again->Core.Values[u"x"] = u"again";
  try {
    FManager->RegisterEngine(u"db", AsEngine(again));
    FAIL() << "a second registration under one name must fail";
  } catch (const rtl::EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), u"Assertion failure (src\\qor7420_pref_core, line 243)");
  }
  EXPECT_EQ(again->RefCount(), 1);
  EXPECT_EQ(FManager->FindStr(u"x", u""), u"lower");
  FManager->UnRegisterEngine(u"db");
  EXPECT_EQ(FManager->FindStr(u"x", u""), u"upper");
  EXPECT_THROW(FManager->RegisterEngine(u"empty", nullptr), rtl::EInvalidOperation);
  EXPECT_NO_THROW(FManager->RegisterEngine(u"db", AsEngine(again)));
}

TEST_F(PrefManagerTest, UnRegisterOfAnUnknownNameCallsNothing) {
  auto a = Register<TScalarEngine>("A");
  FManager->UnRegisterEngine(u"a");
  FManager->UnRegisterEngine(u"");
  EXPECT_TRUE(FCalls.empty());
  EXPECT_EQ(a->RefCount(), 3);
}

TEST_F(PrefManagerTest, EngineWhoseFlushFailsStaysRegistered) {
  auto a = Holding("A", u"kept");
  a->Core.RaiseFlush = true;
  EXPECT_THROW(FManager->UnRegisterEngine(u"A"), rtl::EWriteError);
  EXPECT_EQ(FManager->FindStr(u"x", u""), u"kept");
  EXPECT_THROW(FManager->RegisterEngine(u"A", AsEngine(a)), rtl::EAssertionFailed);
  a->Core.RaiseFlush = false;
  FManager->UnRegisterEngine(u"A");
  EXPECT_EQ(FManager->FindStr(u"x", u"gone"), u"gone");
  EXPECT_EQ(a->RefCount(), 1);
}

TEST_F(PrefManagerTest, OneObjectUnderTwoNamesLeavesByIdentity) {
  auto a = Make<TScalarEngine>("A", FCalls);
  auto b = Holding("B", u"b");
  a->Core.Values[u"x"] = u"a";
  FManager->RegisterEngine(u"first", AsEngine(a));
  FManager->RegisterEngine(u"second", AsEngine(a));
  EXPECT_EQ(a->RefCount(), 1 + 2 * 2);  // ours, two names, two list entries
  FManager->UnRegisterEngine(u"first");
  EXPECT_EQ(FManager->FindStr(u"x", u""), u"a");  // still registered as "second"
  FManager->UnRegisterEngine(u"second");
  EXPECT_EQ(FManager->FindStr(u"x", u""), u"b");
  EXPECT_EQ(a->RefCount(), 1);
}

TEST_F(PrefManagerTest, DestructionReleasesEveryEngineOnceWithoutFlushing) {
  auto a = Register<TScalarEngine>("A");
  auto b = Register<TBothEngine>("B");
  auto c = Register<TComponentEngine>("C");
  auto p = Register<TPlainEngine>("P");
  EXPECT_EQ(a->RefCount(), 3);  // ours, the name, the list
  EXPECT_EQ(b->RefCount(), 3);
  EXPECT_EQ(c->RefCount(), 3);
  EXPECT_EQ(p->RefCount(), 2);  // ours, the name
  FCalls.clear();
  FManager = nullptr;
  EXPECT_TRUE(FCalls.empty());
  for (int count : {a->RefCount(), b->RefCount(), c->RefCount(), p->RefCount()}) EXPECT_EQ(count, 1);
}

TEST_F(PrefManagerTest, ExportFillsEveryLineWithItsEffectiveValue) {
  auto a = Register<TScalarEngine>("A");
  a->Core.Values = {{u"x", u"older"}, {u"y", u"only in A"}, {u"z", u"z of A"}};
  auto b = Register<TScalarEngine>("B");
  b->Core.Values = {{u"x", u"new"}, {u"z", u"  "}};
  auto c = Register<TComponentEngine>("C");

  rtl::TStringList list;
  list.Add(u"x=old");
  list.Add(u"w=keeps");
  list.Add(u"no separator");
  FManager->Export(list);
  // B's blank z is found first but is blank, so the lines keep what they had.
  EXPECT_EQ(list.Text(),
            u"x=new\r\nw=keeps\r\nno separator\r\n"  // lines there before the call
            u"x=new\r\nz=  \r\n"                      // B's own
            u"x=new\r\ny=only in A\r\nz=z of A\r\n");  // A's own
  EXPECT_EQ(a->Stored(u"x"), u"older");
}

TEST_F(PrefManagerTest, ExportHonoursTheListsSeparator) {
  auto a = Register<TScalarEngine>("A");
  a->Core.Values = {{u"x", u"new"}};
  rtl::TStringList list;
  list.SetNameValueSeparator(u':');
  list.Add(u"x:old");
  FManager->Export(list);
  EXPECT_EQ(list.Text(), u"x:new\r\nx:new\r\n");
}

TEST_F(PrefManagerTest, ExistsAsksScalarEnginesNewestFirst) {
  auto a = Holding("A", u"1");
  auto b = Register<TScalarEngine>("B");
  EXPECT_TRUE(FManager->Exists(u"x"));
  EXPECT_FALSE(FManager->Exists(u"X"));
  EXPECT_EQ(FCalls, (TCalls{"B:exists x", "A:exists x", "B:exists X", "A:exists X"}));
}

// Every Save reads back through its Find to the same value, at the edges.
class PrefRoundTripTest : public PrefManagerTest {
 protected:
  void SetUp() override {
    PrefManagerTest::SetUp();
    FStore = Register<TScalarEngine>("store");
  }
  rtl::IPtr<TScalarEngine> FStore;
};

TEST_F(PrefRoundTripTest, Integers) {
  for (std::int64_t v : {INT64_MIN, INT64_MIN + 1, std::int64_t{-5}, std::int64_t{0}, std::int64_t{1}, INT64_MAX}) {
    FManager->SaveInt(u"v", v, 2);
    EXPECT_EQ(FManager->FindInt(u"v", 77), v) << rtl::StringToUtf8(FStore->Stored(u"v"));
  }
}

TEST_F(PrefRoundTripTest, Booleans) {
  for (bool v : {true, false}) {
    FManager->SaveBool(u"v", v, 3);
    EXPECT_EQ(FManager->FindBool(u"v", !v), v);
  }
}

TEST_F(PrefRoundTripTest, Strings) {
  for (const char16_t* v : {u"", u" padded ", u"a=b=c", u"\u041F\u0440\u0438\u0432\u0435\u0442", u"line\r\nbreak"}) {
    FManager->SaveStr(u"v", v, 4);
    EXPECT_EQ(FManager->FindStr(u"v", u"dflt"), v);
  }
}

TEST_F(PrefRoundTripTest, FifteenDigitFloats) {
  const rtl::Extended values[] = {0.0L,
                                  -0.5L,
                                  0.123456789012345L,
                                  -123456789012345.0L,
                                  1.23456789012345e-300L,
                                  -9.87654321098765e300L,
                                  1e15L,
                                  1e-5L,
                                  999999999999999.0L};
  for (rtl::Extended v : values) {
    FManager->SaveDouble(u"v", v, 5);
    const rtl::String stored = FStore->Stored(u"v");
    SCOPED_TRACE(rtl::StringToUtf8(stored));
    // Extended is asserted to 15 significant digits (the reader may go through double).
    const rtl::Extended read = FManager->FindDouble(u"v", 42.0L);
    const rtl::Extended error = read > v ? read - v : v - read;
    EXPECT_LE(error, (v < 0 ? -v : v) * 1e-15L);
    // And the value read writes the same text again.
    FManager->SaveDouble(u"v", read, 5);
    EXPECT_EQ(FStore->Stored(u"v"), stored);
  }
}

TEST_F(PrefRoundTripTest, InfinitiesAndNaNReadBackAsWritten) {
  constexpr rtl::Extended inf = std::numeric_limits<rtl::Extended>::infinity();
  const struct {
    rtl::Extended Value;
    const char16_t* Text;
  } cases[] = {{inf, u"INF"}, {-inf, u"-INF"}, {std::numeric_limits<rtl::Extended>::quiet_NaN(), u"NAN"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(rtl::StringToUtf8(c.Text));
    FManager->SaveDouble(u"v", c.Value, 5);
    EXPECT_EQ(FStore->Stored(u"v"), c.Text);
    const rtl::Extended read = FManager->FindDouble(u"v", 42.0L);
    if (std::isnan(c.Value))
      EXPECT_TRUE(std::isnan(read));
    else
      EXPECT_EQ(read, c.Value);
  }
}

TEST_F(PrefRoundTripTest, DatesBefore1900AndAfter2100) {
  const rtl::TDate values[] = {rtl::EncodeDate(1, 1, 1),     rtl::EncodeDate(1066, 10, 14), rtl::EncodeDate(1899, 12, 29),
                               rtl::EncodeDate(1899, 12, 30), rtl::EncodeDate(1900, 2, 28),  rtl::EncodeDate(2100, 3, 1),
                               rtl::EncodeDate(2101, 1, 1),   rtl::EncodeDate(9999, 12, 31)};
  for (rtl::TDate v : values) {
    FManager->SaveDate(u"v", v, 6);
    EXPECT_EQ(FManager->FindDate(u"v", 0), v) << rtl::StringToUtf8(FStore->Stored(u"v"));
  }
}

TEST_F(PrefRoundTripTest, DateTimesBefore1900AndAfter2100) {
  const rtl::TDateTime values[] = {
      rtl::EncodeDateTime(1800, 5, 6, 7, 8, 9, 0),    rtl::EncodeDateTime(1899, 12, 29, 18, 0, 0, 0),
      rtl::EncodeDateTime(1899, 12, 30, 0, 0, 1, 0),  rtl::EncodeDateTime(2017, 3, 5, 0, 0, 0, 0),
      rtl::EncodeDateTime(2150, 12, 31, 23, 59, 59, 0), rtl::EncodeDateTime(9999, 12, 31, 12, 30, 0, 0),
      rtl::EncodeDateTime(1, 1, 1, 1, 1, 1, 0)};
  for (rtl::TDateTime v : values) {
    FManager->SaveDateTime(u"v", v, 7);
    EXPECT_EQ(FManager->FindDateTime(u"v", 0), v) << rtl::StringToUtf8(FStore->Stored(u"v"));
  }
}

}  // namespace
}  // namespace qor
