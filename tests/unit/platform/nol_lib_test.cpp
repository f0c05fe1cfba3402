// RegValueExists and RegReadString against the in-memory registry.
#include <gtest/gtest.h>

#include "launcher/nol_lib.h"
#include "platform/fake/fake_platform.h"

namespace qor {
namespace {

using platform::TRegDataType;
using platform::TRegRoot;

constexpr std::u16string_view kKey = u"\\SOFTWARE\\Halvern\\Quillbox\\2.0";

std::vector<std::uint8_t> Utf16(std::u16string_view s) {
  std::vector<std::uint8_t> out;
  for (char16_t c : s) {
    out.push_back(static_cast<std::uint8_t>(c));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return out;
}

class RegistryFunctions : public ::testing::Test {
 protected:
  platform::fake::TFakePlatform FPlatform;
  platform::TScopedPlatform FInstalled{FPlatform};
  platform::fake::TFakeRegistry& Reg() { return FPlatform.Registry(); }
  void TearDown() override { EXPECT_EQ(Reg().OpenKeyCount(), 0) << "a key was left open"; }
};

struct TReadCase {
  const char* What;
  std::uint32_t Type;
  std::vector<std::uint8_t> Data;
  std::u16string Expected;
};

TEST_F(RegistryFunctions, ReadStringGivesTheTextOfStringValues) {
  const std::vector<TReadCase> cases = {
      {"REG_SZ with its NUL", 1, Utf16(std::u16string(u"C:\\Program Files\\Quillbox\\") + u'\0'),
       u"C:\\Program Files\\Quillbox\\"},
      {"REG_SZ without a NUL", 1, Utf16(u"42"), u"42"},
      {"REG_SZ ends at the first NUL", 1, Utf16(std::u16string(u"ab\0cd\0", 6)), u"ab"},
      {"REG_EXPAND_SZ is not expanded", 2, Utf16(std::u16string(u"%TEMP%\\x") + u'\0'), u"%TEMP%\\x"},
      {"an odd last byte is no character", 1, {'a', 0, 'b'}, u"a"},
      {"Cyrillic text", 1, Utf16(std::u16string(u"Привет") + u'\0'), u"Привет"},
      {"zero-length REG_SZ is empty, not the default", 1, {}, u""},
      {"zero-length DWORD is empty too", 4, {}, u""},
      {"zero-length binary", 3, {}, u""},
      {"a lone NUL", 1, {0, 0}, u""},
  };
  for (const TReadCase& c : cases) {
    Reg().Clear();
    Reg().SetValue(TRegRoot::CurrentUser, kKey, u"VersionFDB", c.Type, c.Data);
    EXPECT_EQ(RegReadString(u"VersionFDB", u"default", TRegRoot::CurrentUser, kKey), c.Expected) << c.What;
    EXPECT_TRUE(RegValueExists(u"VersionFDB", TRegRoot::CurrentUser, kKey)) << c.What;
  }
}

TEST_F(RegistryFunctions, OtherTypesRaiseTheRegistryError) {
  for (std::uint32_t type : {3u, 4u, 5u, 7u, 11u, 0u, 0x1234u}) {
    Reg().Clear();
    Reg().SetValue(TRegRoot::CurrentUser, kKey, u"VersionFDB", type, {1, 0, 0, 0});
    try {
      RegReadString(u"VersionFDB", u"default", TRegRoot::CurrentUser, kKey);
      ADD_FAILURE() << "type " << type << " was read";
    } catch (const rtl::ERegistryException& e) {
      EXPECT_EQ(e.Message(), u"Invalid data type for 'VersionFDB'");
      EXPECT_EQ(e.ClassName(), u"ERegistryException");
    }
    EXPECT_EQ(Reg().OpenKeyCount(), 0) << "the key stays open after the error, type " << type;
  }
}

TEST_F(RegistryFunctions, AbsentKeyOrValueGivesTheDefaultAndFalse) {
  Reg().SetString(TRegRoot::LocalMachine, kKey, u"InstallLocation", u"D:\\Q\\");
  Reg().DenyKey(TRegRoot::CurrentUser, u"\\SOFTWARE\\Locked");
  struct {
    const char* What;
    TRegRoot Root;
    std::u16string_view Key, Name;
  } cases[] = {
      {"other root", TRegRoot::CurrentUser, kKey, u"InstallLocation"},
      {"other value", TRegRoot::LocalMachine, kKey, u"VersionFDB"},
      {"missing key", TRegRoot::LocalMachine, u"\\SOFTWARE\\Nothing", u"InstallLocation"},
      {"key that cannot be opened", TRegRoot::CurrentUser, u"\\SOFTWARE\\Locked", u"InstallLocation"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(RegValueExists(c.Name, c.Root, c.Key)) << c.What;
    EXPECT_EQ(RegReadString(c.Name, u"fallback", c.Root, c.Key), u"fallback") << c.What;
  }
}

TEST_F(RegistryFunctions, NamesAndKeysCompareWithoutCaseAndTheLeadingBackslashIsOptional) {
  Reg().SetString(TRegRoot::LocalMachine, kKey, u"InstallLocation", u"D:\\Q\\");
  EXPECT_TRUE(RegValueExists(u"installlocation", TRegRoot::LocalMachine, u"software\\halvern\\QUILLBOX\\2.0"));
  EXPECT_EQ(RegReadString(u"INSTALLLOCATION", u"", TRegRoot::LocalMachine, kKey), u"D:\\Q\\");
  // The default value has the empty name.
  Reg().SetString(TRegRoot::LocalMachine, kKey, u"", u"default text");
  EXPECT_EQ(RegReadString(u"", u"x", TRegRoot::LocalMachine, kKey), u"default text");
}

TEST_F(RegistryFunctions, ExistsIsTrueWhateverTheType) {
  Reg().SetDWord(TRegRoot::CurrentUser, kKey, u"Count", 7);
  Reg().SetValue(TRegRoot::CurrentUser, kKey, u"Blob", 3, {1, 2, 3});
  EXPECT_TRUE(RegValueExists(u"Count", TRegRoot::CurrentUser, kKey));
  EXPECT_TRUE(RegValueExists(u"Blob", TRegRoot::CurrentUser, kKey));
}

TEST_F(RegistryFunctions, EachCallOpensTheKeyFromTheRootWithItsOwnAccessor) {
  Reg().SetString(TRegRoot::CurrentUser, kKey, u"VersionFDB", u"5");
  RegValueExists(u"VersionFDB", TRegRoot::CurrentUser, kKey);
  RegReadString(u"VersionFDB", u"", TRegRoot::CurrentUser, kKey);
  ASSERT_EQ(Reg().Opens().size(), 2u);
  for (const auto& open : Reg().Opens()) {
    EXPECT_EQ(open.Root, TRegRoot::CurrentUser);
    EXPECT_EQ(open.Path, kKey);
  }
}

}  // namespace
}  // namespace qor
