// The Windows profile rules, read from the fake's files.
#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "unit/platform/profile_cases.h"

namespace qor::platform {
namespace {

class ProfileOnFake : public ::testing::Test {
 protected:
  fake::TFakePlatform FPlatform;
  TProfileService& Profiles() { return FPlatform.Profiles(); }
};

TEST_F(ProfileOnFake, ValuesFollowTheWindowsRules) {
  FPlatform.Files().SetFile(u"C:\\tool.ini", testing::kProfileText);
  for (const auto& c : testing::ProfileCases())
    EXPECT_EQ(Profiles().ReadString(u"C:\\tool.ini", c.Section, c.Key, u"<def>"), c.Expected)
        << rtl::StringToUtf8(c.Section) << "/" << rtl::StringToUtf8(c.Key);
  EXPECT_EQ(Profiles().ReadSectionKeys(u"C:\\tool.ini", u"main"), testing::ProfileMainKeys());
  EXPECT_EQ(Profiles().ReadSectionNames(u"C:\\tool.ini"), testing::ProfileSectionNames());
}

TEST_F(ProfileOnFake, AMissingFileReadsAsEmpty) {
  EXPECT_EQ(Profiles().ReadString(u"C:\\none.ini", u"Main", u"LogFile", u"d"), u"d");
  EXPECT_TRUE(Profiles().ReadSectionKeys(u"C:\\none.ini", u"Main").empty());
  EXPECT_TRUE(Profiles().ReadSectionNames(u"C:\\none.ini").empty());
}

TEST_F(ProfileOnFake, EncodingsAreRecognised) {
  // UTF-16LE with BOM, UTF-8 with and without BOM, and ANSI (1251 here).
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : std::u16string(u"[Main]\r\nName=Привет\r\n")) {
    utf16.push_back(static_cast<char>(c & 0xFF));
    utf16.push_back(static_cast<char>(c >> 8));
  }
  const struct {
    const char* What;
    std::string Bytes;
  } files[] = {
      {"UTF-16LE", utf16},
      {"UTF-8 BOM", "\xEF\xBB\xBF[Main]\nName=\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\n"},
      {"UTF-8", "[Main]\nName=\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},
      {"ANSI", "[Main]\r\nName=\xCF\xF0\xE8\xE2\xE5\xF2\r\n"},
  };
  for (const auto& f : files) {
    FPlatform.Files().SetFile(u"C:\\e.ini", f.Bytes);
    EXPECT_EQ(Profiles().ReadString(u"C:\\e.ini", u"Main", u"Name", u""), u"Привет") << f.What;
  }
}

}  // namespace
}  // namespace qor::platform
