#include "rtl/classes.h"

#include <gtest/gtest.h>

namespace qor::rtl {
namespace {

TEST(StringList, AddInsertDeleteAndBounds) {
  TStringList l;
  EXPECT_EQ(l.Add(u"b"), 0);
  EXPECT_EQ(l.AddObject(u"c", 42), 1);
  l.Insert(0, u"a");
  l.Insert(3, u"d");
  ASSERT_EQ(l.Count(), 4);
  EXPECT_EQ(l.Text(), u"a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(std::any_cast<int>(l.Objects(2)), 42);
  EXPECT_FALSE(l.Objects(0).has_value());
  l.Delete(1);
  EXPECT_EQ(l[1], u"c");
  EXPECT_EQ(std::any_cast<int>(l.Objects(1)), 42);
  l.SetString(1, u"C");
  EXPECT_EQ(l.Strings(1), u"C");
  EXPECT_THROW(l[3], EArgumentOutOfRangeException);
  EXPECT_THROW(l[-1], EArgumentOutOfRangeException);
  EXPECT_THROW(l.Delete(3), EArgumentOutOfRangeException);
  EXPECT_THROW(l.Insert(5, u"x"), EArgumentOutOfRangeException);
  try {
    l.SetObject(7, 1);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"List index out of bounds (7)");
  }
  EXPECT_EQ(l.Count(), 3);
}

TEST(StringList, NameValueLines) {
  TStringList l;
  l.SetText(u"LogFile=a.log\r\nPidFile=x=y\r\nnovalue\r\n=empty name\r\n");
  ASSERT_EQ(l.Count(), 4);
  EXPECT_EQ(l.Names(0), u"LogFile");
  EXPECT_EQ(l.ValueFromIndex(0), u"a.log");
  EXPECT_EQ(l.Values(u"PidFile"), u"x=y");  // the first separator splits
  EXPECT_EQ(l.Names(2), u"");
  EXPECT_EQ(l.ValueFromIndex(2), u"");
  EXPECT_EQ(l.IndexOfName(u"novalue"), -1);
  EXPECT_EQ(l.IndexOfName(u""), 3);
  EXPECT_EQ(l.Values(u"missing"), u"");

  l.SetValues(u"LogFile", u"b.log");
  EXPECT_EQ(l[0], u"LogFile=b.log");
  l.SetValues(u"New", u"1");
  EXPECT_EQ(l[4], u"New=1");
  l.SetValues(u"PidFile", u"");  // an empty value deletes the line
  EXPECT_EQ(l.IndexOfName(u"PidFile"), -1);
  EXPECT_EQ(l.Count(), 4);
  l.SetValues(u"absent", u"");
  EXPECT_EQ(l.Count(), 4);
  l.SetValueFromIndex(0, u"c.log");
  EXPECT_EQ(l[0], u"LogFile=c.log");

  l.SetNameValueSeparator(u':');
  l.Clear();
  l.Add(u"k:v=w");
  EXPECT_EQ(l.Names(0), u"k");
  EXPECT_EQ(l.Values(u"k"), u"v=w");
}

TEST(StringList, CaseSwitchAppliesToLookups) {
  TStringList l;
  l.Add(u"Name=1");
  l.Add(u"Line");
  EXPECT_FALSE(l.CaseSensitive());
  EXPECT_EQ(l.IndexOfName(u"NAME"), 0);
  EXPECT_EQ(l.IndexOf(u"line"), 1);
  EXPECT_EQ(l.Values(u"name"), u"1");
  l.SetCaseSensitive(true);
  EXPECT_EQ(l.IndexOfName(u"NAME"), -1);
  EXPECT_EQ(l.IndexOf(u"line"), -1);
  EXPECT_EQ(l.IndexOf(u"Line"), 1);
  l.SetValues(u"NAME", u"2");  // a different name now
  EXPECT_EQ(l.Count(), 3);
  // Only ASCII letters fold.
  l.SetCaseSensitive(false);
  l.Add(u"\u0416=x");
  EXPECT_EQ(l.IndexOfName(u"\u0436"), -1);
}

TEST(StringList, TextSplitsAtEveryLineBreakForm) {
  TStringList l;
  l.SetText(u"a\r\nb\nc\rd");
  EXPECT_EQ(l.Count(), 4);
  EXPECT_EQ(l[3], u"d");
  l.SetText(u"a\r\n\r\nb\n\n");
  ASSERT_EQ(l.Count(), 4);
  EXPECT_EQ(l[1], u"");
  EXPECT_EQ(l[3], u"");
  l.SetText(u"");
  EXPECT_EQ(l.Count(), 0);
  EXPECT_EQ(l.Text(), u"");
  l.SetText(u"\n");
  EXPECT_EQ(l.Count(), 1);
}

TEST(Dictionary, ExactTextKeysAndDuplicates) {
  TDictionary<unsigned short> d;
  d.Add(u"prf_geo_broker_url", 8);
  d.Add(u"PRF_GEO_BROKER_URL", 9);  // another key: case counts
  d.Add(u" prf_geo_broker_url", 10);
  EXPECT_EQ(d.Count(), 3);
  try {
    d.Add(u"prf_geo_broker_url", 11);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), u"Duplicates not allowed");
  }
  unsigned short v = 0;
  ASSERT_TRUE(d.TryGetValue(u"prf_geo_broker_url", v));
  EXPECT_EQ(v, 8) << "the first value stays";
  EXPECT_FALSE(d.TryGetValue(u"Prf_geo_broker_url", v));
  EXPECT_EQ(*d.Find(u"PRF_GEO_BROKER_URL"), 9);
  EXPECT_EQ(d.Find(u"x"), nullptr);
  d.AddOrSetValue(u"prf_geo_broker_url", 12);
  EXPECT_EQ(*d.Find(u"prf_geo_broker_url"), 12);
  d.Remove(u"PRF_GEO_BROKER_URL");
  EXPECT_FALSE(d.ContainsKey(u"PRF_GEO_BROKER_URL"));
  int seen = 0;
  for (const auto& [key, value] : d) seen += value;
  EXPECT_EQ(seen, 22);
  d.Clear();
  EXPECT_EQ(d.Count(), 0);
}

}  // namespace
}  // namespace qor::rtl
