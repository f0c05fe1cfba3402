// Parameters, the program folder and the log-file name template.
#include "tests/unit/console/console_test_support.h"

namespace qor::test {
namespace {

using ParamsTest = ConsoleTest;

TEST_F(ParamsTest, ParamListHoldsTheParametersWithoutTheProgram) {
  Args({u"-Export", u"daily/out"});
  TConsoleApp app;
  ASSERT_EQ(app.ParamList().Count(), 2);
  EXPECT_EQ(app.ParamList()[0], u"-Export");
  EXPECT_EQ(app.ParamList()[1], u"daily/out");
}

TEST_F(ParamsTest, ParamValueAndParamExistsCompareCaseSensitively) {
  Args({u"-a", u"x", u"-b", u"-a", u"y"});
  TConsoleApp app;
  struct Case {
    rtl::StringView Name;
    rtl::StringView Value;
    bool Exists;
  };
  const Case cases[] = {
      {u"-a", u"x", true},    // the first occurrence wins
      {u"-b", u"-a", true},   // whatever follows, an option too
      {u"y", u"", true},      // the last parameter has no value
      {u"-A", u"", false},    // another letter case is another name
      {u"x", u"-b", true},
      {u"", u"", false},
      {u"-c", u"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(rtl::StringToUtf8(c.Name));
    EXPECT_EQ(app.ParamValue(c.Name), c.Value);
    EXPECT_EQ(app.ParamExists(c.Name), c.Exists);
  }
}

TEST_F(ParamsTest, NoParametersAtAll) {
  Fake.Processes().Args.clear();
  TConsoleApp app;
  EXPECT_EQ(app.ParamList().Count(), 0);
  EXPECT_EQ(app.ParamValue(u"-a"), u"");
  EXPECT_FALSE(app.ParamExists(u""));
}

TEST_F(ParamsTest, AppPathEndsWithOneSeparator) {
  struct Case {
    rtl::StringView Program;
    rtl::StringView Folder;
  };
  const Case cases[] = {
      {u"C:\\cd\\bin\\nol_cdtool.exe", u"C:\\cd\\bin\\"},
      {u"/opt/nol/bin/nol_cdtool", u"/opt/nol/bin/"},
      {u"C:\\nol_cdtool.exe", u"C:\\"},
      {u"/nol_cdtool", u"/"},
      {u"C:\\cd\\\\nol_cdtool.exe", u"C:\\cd\\"},
  };
  TConsoleApp app;
  for (const Case& c : cases) {
    Fake.Files().ProgramFile = rtl::String(c.Program);
    EXPECT_EQ(app.AppPath(), c.Folder) << rtl::StringToUtf8(c.Program);
  }
}

TEST_F(ParamsTest, ExpandLogFileName) {
  struct Case {
    std::initializer_list<rtl::String> Params;
    rtl::StringView Template;
    rtl::StringView Expected;
  };
  const Case cases[] = {
      {{u"-Export", u"daily/out"}, u"job_@@param@_@@date_time@.log", u"job_export.daily_out_2017.03.15 14-05.log"},
      {{u"/Sync", u"a\\b/c"}, u"@@PARAM@", u"sync.a_b_c"},
      {{u"-Import"}, u"@@Param@.log", u"import.log"},
      {{u"-Import", u"x", u"y"}, u"@@param@", u"import.x"},  // only the second parameter counts
      {{}, u"[@@param@] @@DATE_TIME@", u"[] 2017.03.15 14-05"},
      {{u"-\u0418\u041C\u041F\u041E\u0420\u0422", u"a:b*c"}, u"@@param@", u"\u0438\u043C\u043F\u043E\u0440\u0442.a:b*c"},
      {{u"-x"}, u"@@param@@@param@ @@date_time@@@date_time@", u"xx 2017.03.15 14-052017.03.15 14-05"},
      {{u"-x"}, u"no placeholders", u"no placeholders"},
  };
  for (const Case& c : cases) {
    Args(c.Params);
    EXPECT_EQ(ExpandLogFileName(c.Template), c.Expected) << rtl::StringToUtf8(c.Template);
  }
}

TEST_F(ParamsTest, ExpandLogFileNameUsesFixedSeparatorsAndTwentyFourHours) {
  // The pattern's '.' and '-' are literal: the process-wide separators do not enter.
  rtl::FormatSettings().DateSeparator = u'/';
  rtl::FormatSettings().TimeSeparator = u'.';
  Fake.Clock().Time = rtl::EncodeDateTime(2009, 1, 2, 23, 7, 59, 999);
  EXPECT_EQ(ExpandLogFileName(u"@@date_time@"), u"2009.01.02 23-07");
}

}  // namespace
}  // namespace qor::test
