// The substitute's regedit export reader and where it finds its files.
#ifndef _WIN32
#include "platform/posix/reg_file.h"

#include "launcher/nol_lib.h"
#include "tests/platform/system_platform_fixture.h"

namespace qor::platform::testing {
namespace {

using posix::TRegStore;

std::string Utf16Bom(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return bytes;
}

// REGEDIT4 files are in the ANSI code page; 1251 here.
rtl::String Cp1251(std::string_view s) {
  rtl::String out;
  for (unsigned char c : s) out.push_back(c >= 0xC0 ? static_cast<char16_t>(0x0410 + c - 0xC0) : c);
  return out;
}

const TRegValue* Find(const TRegStore& store, TRegRoot root, rtl::StringView key, rtl::StringView name) {
  const posix::TRegStoreKey* k = store.FindKey(root, key);
  if (!k) return nullptr;
  auto it = k->Values.find(rtl::UpperCase(name));
  return it == k->Values.end() ? nullptr : &it->second.Value;
}

std::vector<std::uint8_t> Sz(std::u16string_view s) {
  std::vector<std::uint8_t> out;
  for (char16_t c : s) out.insert(out.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8)});
  out.insert(out.end(), {0, 0});
  return out;
}

TEST(RegFile, EveryValueSyntaxReadsBackToTheBytesWindowsHolds) {
  const std::u16string text =
      u"Windows Registry Editor Version 5.00\r\n"
      u"\r\n"
      u"; a comment\r\n"
      u"[HKEY_CURRENT_USER\\Software\\Test]\r\n"
      u"@=\"default\"\r\n"
      u"\"Plain\"=\"C:\\\\Q\\\\\"\r\n"
      u"\"Quote\"=\"say \\\"hi\\\"\"\r\n"
      u"\"Cyr\"=\"Привет\"\r\n"
      u"\"Dw\"=dword:0000002A\r\n"
      u"\"Short\"=dword:7\r\n"
      u"\"Bin\"=hex:01,02,0a,\\\r\n"
      u"  ff,00\r\n"
      u"\"Empty\"=hex:\r\n"
      u"\"Exp\"=hex(2):25,00,41,00,25,00,00,00\r\n"
      u"\"Q\"=hex(b):01,00,00,00,00,00,00,00\r\n"
      u"\"Odd type\"=hex(1234):05\r\n"
      u"  \"Indented\" = \"x\"\r\n"
      u"\"Gone\"=\"soon\"\r\n"
      u"\"Gone\"=-\r\n"
      u"\r\n"
      u"[-HKEY_CURRENT_USER\\Software\\Removed]\r\n"
      u"\"Ignored\"=\"x\"\r\n"
      u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\A\\B\\C]\r\n";
  TRegStore store;
  store.Load(Utf16Bom(text), u"t.reg", nullptr);
  const TRegRoot cu = TRegRoot::CurrentUser;
  const struct {
    const char16_t* Name;
    std::uint32_t Type;
    std::vector<std::uint8_t> Data;
  } cases[] = {
      {u"", 1, Sz(u"default")},
      {u"plain", 1, Sz(u"C:\\Q\\")},
      {u"Quote", 1, Sz(u"say \"hi\"")},
      {u"Cyr", 1, Sz(u"Привет")},
      {u"DW", 4, {42, 0, 0, 0}},
      {u"Short", 4, {7, 0, 0, 0}},
      {u"Bin", 3, {1, 2, 10, 255, 0}},
      {u"Empty", 3, {}},
      {u"Exp", 2, {0x25, 0, 0x41, 0, 0x25, 0, 0, 0}},
      {u"Q", 11, {1, 0, 0, 0, 0, 0, 0, 0}},
      {u"Odd type", 0x1234, {5}},
      {u"Indented", 1, Sz(u"x")},
  };
  for (const auto& c : cases) {
    const TRegValue* v = Find(store, cu, u"\\SOFTWARE\\test", c.Name);
    ASSERT_NE(v, nullptr) << rtl::StringToUtf8(c.Name);
    EXPECT_EQ(v->Type, c.Type) << rtl::StringToUtf8(c.Name);
    EXPECT_EQ(v->Data, c.Data) << rtl::StringToUtf8(c.Name);
  }
  EXPECT_EQ(Find(store, cu, u"Software\\Test", u"Gone"), nullptr);
  EXPECT_EQ(store.FindKey(cu, u"Software\\Removed"), nullptr);
  // A key implies its parents.
  EXPECT_NE(store.FindKey(TRegRoot::LocalMachine, u"SOFTWARE\\A"), nullptr);
  EXPECT_NE(store.FindKey(TRegRoot::LocalMachine, u"\\software\\a\\b\\c\\"), nullptr);
  EXPECT_EQ(store.FindKey(TRegRoot::LocalMachine, u"SOFTWARE\\A\\B\\C\\D"), nullptr);
}

TEST(RegFile, Utf8AndRegedit4AreReadToo) {
  TRegStore store;
  store.Load("\xEF\xBB\xBFWindows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"N\"=\"\xD0\xAF\"\n", u"a.reg",
             nullptr);
  store.Load("Windows Registry Editor Version 5.00\n[HKCU\\B]\n\"N\"=\"\xD0\xAF\"\n", u"b.reg", nullptr);
  store.Load("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\C]\r\n\"N\"=\"\xDF\"\r\n\"E\"=hex(2):df,00\r\n", u"c.reg", Cp1251);
  for (const char16_t* key : {u"A", u"B", u"C"}) {
    const TRegValue* v = Find(store, TRegRoot::CurrentUser, key, u"N");
    ASSERT_NE(v, nullptr) << rtl::StringToUtf8(key);
    EXPECT_EQ(v->Data, Sz(u"Я")) << rtl::StringToUtf8(key);
  }
  // REGEDIT4 writes the string types' hex data in ANSI; the store holds UTF-16.
  EXPECT_EQ(Find(store, TRegRoot::CurrentUser, u"C", u"E")->Data, Sz(u"Я"));
}

TEST(RegFile, LaterFilesOverrideEarlierOnes) {
  TRegStore store;
  store.Load("Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n\"A\"=\"1\"\n\"B\"=\"1\"\n", u"1.reg",
             nullptr);
  store.Load("Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\k]\n\"a\"=\"2\"\n\"B\"=-\n", u"2.reg", nullptr);
  EXPECT_EQ(Find(store, TRegRoot::CurrentUser, u"K", u"A")->Data, Sz(u"2"));
  EXPECT_EQ(Find(store, TRegRoot::CurrentUser, u"K", u"B"), nullptr);
}

TEST(RegFile, The32BitViewPrefersWow6432NodeUnderTheMachinesSoftware) {
  TRegStore store;
  store.Load(
      "Windows Registry Editor Version 5.00\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VEX7420_2.0_is1]\n"
      "\"InstallLocation\"=\"64-bit view\"\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VEX7420_2.0_is1]\n"
      "\"InstallLocation\"=\"32-bit view\"\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Only64]\n\"V\"=\"as written\"\n"
      "[HKEY_CURRENT_USER\\Software\\Wow6432Node\\U]\n\"V\"=\"x\"\n",
      u"w.reg", nullptr);
  const TRegRoot lm = TRegRoot::LocalMachine;
  EXPECT_EQ(Find(store, lm, u"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VEX7420_2.0_is1",
                 u"InstallLocation")
                ->Data,
            Sz(u"32-bit view"));
  EXPECT_EQ(Find(store, lm, u"SOFTWARE\\Only64", u"V")->Data, Sz(u"as written"));
  // Only the machine's SOFTWARE is redirected.
  EXPECT_EQ(store.FindKey(TRegRoot::CurrentUser, u"Software\\U"), nullptr);
}

TEST(RegFile, AMalformedFileIsReportedWithFileAndLine) {
  const struct {
    std::string Text;
    const char16_t* Start;
  } cases[] = {
      {"", u"bad.reg:1: "},
      {"hello\n", u"bad.reg:1: "},
      {"Windows Registry Editor Version 5.00\n\"A\"=\"x\"\n", u"bad.reg:2: "},
      {"Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A\n", u"bad.reg:2: "},
      {"Windows Registry Editor Version 5.00\n[HKEY_NOWHERE\\A]\n", u"bad.reg:2: "},
      {"Windows Registry Editor Version 5.00\n[HKCU\\A]\n\"A\"=\"unterminated\n", u"bad.reg:3: "},
      {"Windows Registry Editor Version 5.00\n[HKCU\\A]\n\"A\" \"x\"\n", u"bad.reg:3: "},
      {"Windows Registry Editor Version 5.00\n[HKCU\\A]\n\"A\"=dword:123456789\n", u"bad.reg:3: "},
      {"Windows Registry Editor Version 5.00\n[HKCU\\A]\n\"A\"=dword:\n", u"bad.reg:3: "},
      {"Windows Registry Editor Version 5.00\n[HKCU\\A]\n\"A\"=hex:01,zz\n", u"bad.reg:3: "},
      {"Windows Registry Editor Version 5.00\n[HKCU\\A]\n\"A\"=hex:01,\\\n 02 03\n", u"bad.reg:4: "},
      {"Windows Registry Editor Version 5.00\n[HKCU\\A]\n\"A\"=hex:01,\\\n", u"bad.reg:3: "},
      {"Windows Registry Editor Version 5.00\n[HKCU\\A]\n\"A\"=hex(x):01\n", u"bad.reg:3: "},
      {"Windows Registry Editor Version 5.00\n[HKCU\\A]\n\"A\"=string\n", u"bad.reg:3: "},
      {"Windows Registry Editor Version 5.00\n[HKCU\\A]\n\"A\"=\"x\" trailing\n", u"bad.reg:3: "},
      {"Windows Registry Editor Version 5.00\n[HKCU\\A]\nstray text\n", u"bad.reg:3: "},
      {"Windows Registry Editor Version 5.00\n[HKCU\\A]\n\"A\"=\"\xFF\"\n", u"bad.reg:3: "},
      {"REGEDIT4\n[HKCU\\A]\n\"A\"=dword:1\n\"B\"=hex:1,2,,3\n", u"bad.reg:4: "},
  };
  for (const auto& c : cases) {
    TRegStore store;
    try {
      store.Load(c.Text, u"bad.reg", Cp1251);
      ADD_FAILURE() << "accepted: " << c.Text;
    } catch (const ERegistryFileError& e) {
      EXPECT_EQ(e.Message().rfind(c.Start, 0), 0u) << rtl::StringToUtf8(e.Message()) << "\nfor: " << c.Text;
      EXPECT_GT(e.Message().size(), rtl::StringView(c.Start).size()) << "no reason given";
    }
    EXPECT_TRUE(store.Keys().empty()) << "a malformed file left keys behind";
  }
}

class SubstituteRegistryFiles : public SystemPlatformTest {
 protected:
  void TearDown() override {
    SetEnv("NOL_REGISTRY", "");
    SetEnv("XDG_CONFIG_HOME", FSavedXdg);
    SystemPlatformTest::TearDown();
  }
  std::string FSavedXdg = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
};

TEST_F(SubstituteRegistryFiles, TheListInNolRegistryIsReadInOrder) {
  WriteBytes(Dir() / "a.reg", "Windows Registry Editor Version 5.00\n[HKCU\\K]\n\"A\"=\"1\"\n\"B\"=\"1\"\n");
  WriteBytes(Dir() / "b.reg", "Windows Registry Editor Version 5.00\n[HKCU\\K]\n\"B\"=\"2\"\n");
  SetEnv("NOL_REGISTRY", (Dir() / "a.reg").string() + "::" + (Dir() / "b.reg").string());
  auto p = CreateSystemPlatform();
  TScopedPlatform installed(*p);
  EXPECT_EQ(RegReadString(u"A", u"-", TRegRoot::CurrentUser, u"\\K"), u"1");
  EXPECT_EQ(RegReadString(u"B", u"-", TRegRoot::CurrentUser, u"\\K"), u"2");
}

TEST_F(SubstituteRegistryFiles, WithoutTheListTheUsersConfigurationFileIsRead) {
  SetEnv("NOL_REGISTRY", "");
  unsetenv("NOL_REGISTRY");
  SetEnv("XDG_CONFIG_HOME", Dir().string());
  {
    auto p = CreateSystemPlatform();  // no file: an empty registry
    TScopedPlatform installed(*p);
    EXPECT_FALSE(RegValueExists(u"A", TRegRoot::CurrentUser, u"\\K"));
  }
  fs::create_directories(Dir() / "nol");
  WriteBytes(Dir() / "nol" / "registry.reg", "Windows Registry Editor Version 5.00\n[HKCU\\K]\n\"A\"=\"x\"\n");
  auto p = CreateSystemPlatform();
  TScopedPlatform installed(*p);
  EXPECT_TRUE(RegValueExists(u"A", TRegRoot::CurrentUser, u"\\K"));
}

TEST_F(SubstituteRegistryFiles, AMalformedOrMissingFileStopsThePlatform) {
  WriteBytes(Dir() / "bad.reg", "Windows Registry Editor Version 5.00\n[HKCU\\K]\n\"A\"=dword:zz\n");
  SetEnv("NOL_REGISTRY", (Dir() / "bad.reg").string());
  try {
    CreateSystemPlatform();
    FAIL() << "a malformed file was accepted";
  } catch (const ERegistryFileError& e) {
    EXPECT_EQ(e.Message().rfind(Str(Dir() / "bad.reg") + u":3: ", 0), 0u) << rtl::StringToUtf8(e.Message());
  }
  SetEnv("NOL_REGISTRY", (Dir() / "missing.reg").string());
  EXPECT_THROW(CreateSystemPlatform(), ERegistryFileError);
}

TEST_F(SubstituteRegistryFiles, TheOfflineModeComesFromTheRegistryAndSwitchingIsThisProcesssOnly) {
  WriteBytes(Dir() / "net.reg",
             "Windows Registry Editor Version 5.00\n"
             "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings]\n"
             "\"GlobalUserOffline\"=dword:00000001\n");
  SetEnv("NOL_REGISTRY", (Dir() / "net.reg").string());
  auto p = CreateSystemPlatform();
  std::uint32_t state = 0;
  ASSERT_TRUE(p->Internet().QueryConnectedState(state));
  EXPECT_EQ(state & kInternetStateDisconnectedByUser, kInternetStateDisconnectedByUser);
  ASSERT_TRUE(p->Internet().SetConnectedState(kInternetStateConnected, 0));
  ASSERT_TRUE(p->Internet().QueryConnectedState(state));
  EXPECT_EQ(state, kInternetStateConnected);
  EXPECT_NE(ReadBytes(Dir() / "net.reg").find("dword:00000001"), std::string::npos);
  SetEnv("NOL_REGISTRY", "");
  SetEnv("XDG_CONFIG_HOME", Dir().string());
  auto online = CreateSystemPlatform();
  ASSERT_TRUE(online->Internet().QueryConnectedState(state));
  EXPECT_EQ(state, kInternetStateConnected);
}

}  // namespace
}  // namespace qor::platform::testing
#endif
