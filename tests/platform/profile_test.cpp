// Initialisation files through the real backend (Windows: GetPrivateProfileStringW),
// checked against the same table as the fake.
#include "tests/platform/system_platform_fixture.h"
#include "unit/platform/profile_cases.h"

namespace qor::platform::testing {
namespace {

class SystemProfiles : public SystemPlatformTest {};

TEST_F(SystemProfiles, ValuesFollowTheWindowsRules) {
  WriteBytes(Dir() / "tool.ini", kProfileText);
  const rtl::String file = Str(Dir() / "tool.ini");
  for (const auto& c : ProfileCases())
    EXPECT_EQ(P().Profiles().ReadString(file, c.Section, c.Key, u"<def>"), c.Expected)
        << rtl::StringToUtf8(c.Section) << "/" << rtl::StringToUtf8(c.Key);
  EXPECT_EQ(P().Profiles().ReadSectionKeys(file, u"main"), ProfileMainKeys());
  EXPECT_EQ(P().Profiles().ReadSectionNames(file), ProfileSectionNames());
}

TEST_F(SystemProfiles, AMissingFileReadsAsEmpty) {
  const rtl::String file = Str(Dir() / "none.ini");
  EXPECT_EQ(P().Profiles().ReadString(file, u"Main", u"LogFile", u"d"), u"d");
  EXPECT_TRUE(P().Profiles().ReadSectionKeys(file, u"Main").empty());
}

TEST_F(SystemProfiles, UnicodeFilesWithAByteOrderMark) {
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : std::u16string(u"[Main]\r\nLogFile=журнал.log\r\n"))
    utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  WriteBytes(Dir() / "u16.ini", utf16);
  EXPECT_EQ(P().Profiles().ReadString(Str(Dir() / "u16.ini"), u"Main", u"LogFile", u""), u"журнал.log");
}

}  // namespace
}  // namespace qor::platform::testing
