// The registry of the real backend, read through the launcher's functions: on Windows
// filled with reg.exe (the 32-bit view included), natively from a regedit export file.
#include "launcher/nol_lib.h"
#include "tests/platform/system_platform_fixture.h"

namespace qor::platform::testing {
namespace {

class SystemRegistry : public SystemPlatformTest {
 protected:
  void SetUp() override {
    SystemPlatformTest::SetUp();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    FKey = u"\\Software\\NolPlatformTests\\" + rtl::Utf8ToString(info->name()) + u"_" +
           rtl::IntToStr(P().Clock().ProcessId());
  }
  void TearDown() override {
#ifdef _WIN32
    Reg("delete \"HKCU" + rtl::StringToUtf8(FKey) + "\" /f >NUL 2>&1", true);
    Reg("delete \"HKLM" + rtl::StringToUtf8(FKey) + "\" /reg:32 /f >NUL 2>&1", true);
    Reg("delete \"HKLM" + rtl::StringToUtf8(FKey) + "\" /reg:64 /f >NUL 2>&1", true);
#else
    SetEnv("NOL_REGISTRY", "");
#endif
    SystemPlatformTest::TearDown();
  }

#ifdef _WIN32
  static void Reg(const std::string& arguments, bool mayFail = false) {
    const int rc = std::system(("reg " + arguments + (mayFail ? "" : " >NUL")).c_str());
    if (!mayFail) {
      ASSERT_EQ(rc, 0) << "reg " << arguments;
    }
  }
#endif

  static std::string Utf16Bom(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return bytes;
  }

  // The same contents on either backend: the user's part is one regedit 5 export in
  // UTF-16LE (imported with reg.exe on Windows); the machine's part is one value in each
  // view (reg.exe /reg:32 and /reg:64 on Windows; WOW6432Node in the export natively).
  void FillRegistry() {
    const std::u16string user = u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER" + FKey +
                                u"]\r\n"
                                u"\"InstallLocation\"=\"C:\\\\Q\\\\\"\r\n"
                                u"\"Expand\"=hex(2):25,00,4e,00,4f,00,4c,00,25,00,5c,00,78,00,00,00\r\n"
                                u"\"VersionFDB\"=dword:0000002a\r\n"
                                u"\"Empty\"=hex:\r\n"
                                u"\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
                                u"\"Text\"=\"Привет, мир\"\r\n";
    WriteBytes(Dir() / "user.reg", Utf16Bom(user));
#ifdef _WIN32
    const std::string lm = "\"HKLM" + rtl::StringToUtf8(FKey) + "\"";
    Reg("import \"" + (Dir() / "user.reg").string() + "\" 2>NUL");
    Reg("add " + lm + " /v Only32 /d thirty-two /reg:32 /f");
    Reg("add " + lm + " /v Only64 /d sixty-four /reg:64 /f");
#else
    const std::u16string machine = u"Windows Registry Editor Version 5.00\r\n"
                                   u"\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node" +
                                   FKey.substr(9) +
                                   u"]\r\n"
                                   u"\"Only32\"=\"thirty-two\"\r\n"
                                   u"\r\n[HKEY_LOCAL_MACHINE" +
                                   FKey + u"]\r\n\"Only64\"=\"sixty-four\"\r\n";
    WriteBytes(Dir() / "machine.reg", Utf16Bom(machine));
    SetEnv("NOL_REGISTRY", (Dir() / "user.reg").string() + ":" + (Dir() / "machine.reg").string());
    // The substitute reads its files when the platform is made.
    FInstalled.reset();
    FPlatform = CreateSystemPlatform();
    FInstalled = std::make_unique<TScopedPlatform>(*FPlatform);
#endif
  }

  rtl::String FKey;
};

TEST_F(SystemRegistry, TheLauncherFunctionsReadWhatTheRegistryHolds) {
  FillRegistry();
  const TRegRoot cu = TRegRoot::CurrentUser;
  EXPECT_EQ(RegReadString(u"InstallLocation", u"-", cu, FKey), u"C:\\Q\\");
  EXPECT_EQ(RegReadString(u"installlocation", u"-", cu, FKey), u"C:\\Q\\");
  EXPECT_EQ(RegReadString(u"Expand", u"-", cu, FKey), u"%NOL%\\x");
  EXPECT_EQ(RegReadString(u"Text", u"-", cu, FKey), u"Привет, мир");
  EXPECT_EQ(RegReadString(u"Empty", u"-", cu, FKey), u"");
  EXPECT_EQ(RegReadString(u"Absent", u"-", cu, FKey), u"-");
  EXPECT_EQ(RegReadString(u"InstallLocation", u"-", cu, FKey + u"\\Missing"), u"-");
  EXPECT_TRUE(RegValueExists(u"VersionFDB", cu, FKey));
  EXPECT_TRUE(RegValueExists(u"Empty", cu, FKey));
  EXPECT_FALSE(RegValueExists(u"Absent", cu, FKey));
  EXPECT_FALSE(RegValueExists(u"InstallLocation", TRegRoot::LocalMachine, FKey));
  for (const char16_t* name : {u"VersionFDB", u"Multi"}) {
    try {
      RegReadString(name, u"-", cu, FKey);
      ADD_FAILURE() << rtl::StringToUtf8(name) << " was read as a string";
    } catch (const rtl::ERegistryException& e) {
      EXPECT_EQ(e.Message(), u"Invalid data type for '" + rtl::String(name) + u"'");
    }
  }
}

TEST_F(SystemRegistry, TheMachineKeysAreReadInTheir32BitView) {
  FillRegistry();
  EXPECT_EQ(RegReadString(u"Only32", u"-", TRegRoot::LocalMachine, FKey), u"thirty-two");
  EXPECT_FALSE(RegValueExists(u"Only64", TRegRoot::LocalMachine, FKey));
}

TEST_F(SystemRegistry, ValuesComeBackWithTheirTypeAndExactSize) {
  FillRegistry();
  TRegistryService& reg = P().Registry();
  THandle key = kNoHandle;
  ASSERT_TRUE(reg.OpenKey(TRegRoot::CurrentUser, FKey, key));
  TRegValue v;
  ASSERT_TRUE(reg.QueryValue(key, u"VersionFDB", v));
  EXPECT_EQ(v.Type, 4u);
  EXPECT_EQ(v.Data, (std::vector<std::uint8_t>{42, 0, 0, 0}));
  ASSERT_TRUE(reg.QueryValue(key, u"InstallLocation", v));
  EXPECT_EQ(v.Type, 1u);
  EXPECT_EQ(v.Data.size(), 12u);  // C:\Q\ and its NUL
  ASSERT_TRUE(reg.QueryValue(key, u"Empty", v));
  EXPECT_EQ(v.Type, 3u);
  EXPECT_TRUE(v.Data.empty());
  EXPECT_FALSE(reg.QueryValue(key, u"Absent", v));
  reg.CloseKey(key);
}

}  // namespace
}  // namespace qor::platform::testing
