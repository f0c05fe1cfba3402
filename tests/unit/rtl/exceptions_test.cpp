#include "rtl/exceptions.h"

#include <gtest/gtest.h>

namespace qor::rtl {
namespace {

TEST(Exception, ClassNamesAreLiteralsAndCloneKeepsTheClass) {
  const EFOpenError e(u"Cannot open file \"x\". \u041E\u0448\u0438\u0431\u043A\u0430");
  const Exception& base = e;
  EXPECT_EQ(base.ClassName(), u"EFOpenError");
  std::unique_ptr<Exception> copy = base.Clone();
  EXPECT_EQ(copy->ClassName(), u"EFOpenError");
  EXPECT_EQ(copy->Message(), e.Message());
  EXPECT_NE(dynamic_cast<EStreamError*>(copy.get()), nullptr);
  EXPECT_STREQ(e.what(), "Cannot open file \"x\". \xD0\x9E\xD1\x88\xD0\xB8\xD0\xB1\xD0\xBA\xD0\xB0");
  EXPECT_EQ(Exception(u"m").ClassName(), u"Exception");
  EXPECT_EQ(EConvertError(u"m").ClassName(), u"EConvertError");
}

TEST(Exception, SetMessageRefreshesWhat) {
  EConvertError e(u"one");
  EXPECT_STREQ(e.what(), "one");
  e.SetMessage(u"two");
  EXPECT_STREQ(e.what(), "two");
}

TEST(Exception, AssertionMessageNamesUnitAndLine) {
  try {
    AssertionFailed(u"Assertion failure", u"src\\qor7420_pref_core", 243);
    FAIL();
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), u"Assertion failure (src\\qor7420_pref_core, line 243)");
    EXPECT_EQ(e.ClassName(), u"EAssertionFailed");
  }
}

}  // namespace
}  // namespace qor::rtl
