// The substitute's .reg reader against a real registry: what Windows (Wine) exports
// with regedit /E reads back to the keys and values the registry itself returns.
#ifdef _WIN32
#include "platform/posix/reg_file.h"
#include "tests/platform/system_platform_fixture.h"

namespace qor::platform::testing {
namespace {

class RegeditExport : public SystemPlatformTest {
 protected:
  void SetUp() override {
    SystemPlatformTest::SetUp();
    FKey = u"Software\\NolExportTest_" + rtl::IntToStr(P().Clock().ProcessId());
  }
  void TearDown() override {
    std::system(("reg delete \"HKCU\\" + rtl::StringToUtf8(FKey) + "\" /f >NUL 2>&1").c_str());
    SystemPlatformTest::TearDown();
  }
  // regedit is a GUI program: start /wait makes cmd wait for it.
  posix::TRegStore Export(const std::string& key, const fs::path& file) {
    const std::string command = "start /wait regedit /E \"" + file.string() + "\" \"" + key + "\"";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    posix::TRegStore store;
    EXPECT_TRUE(fs::exists(file)) << command;
    store.Load(ReadBytes(file), Str(file), nullptr);
    return store;
  }
  // Every value of every key of the export under root, compared with the live registry.
  int CompareWithRegistry(const posix::TRegStore& store, TRegRoot root, std::u16string_view rootName) {
    int values = 0;
    for (const auto& [name, key] : store.Keys()) {
      if (!name.starts_with(rootName)) continue;
      const rtl::String path = name.size() > rootName.size() ? name.substr(rootName.size() + 1) : rtl::String();
      THandle h = kNoHandle;
      if (!P().Registry().OpenKey(root, path, h)) {
        ADD_FAILURE() << "exported key cannot be opened: " << rtl::StringToUtf8(key.Path);
        continue;
      }
      for (const auto& [valueName, value] : key.Values) {
        TRegValue live;
        if (!P().Registry().QueryValue(h, value.Name, live)) {
          ADD_FAILURE() << "no value " << rtl::StringToUtf8(value.Name) << " in " << rtl::StringToUtf8(key.Path);
          continue;
        }
        EXPECT_EQ(live.Type, value.Value.Type) << rtl::StringToUtf8(key.Path) << " " << rtl::StringToUtf8(value.Name);
        EXPECT_EQ(live.Data, value.Value.Data) << rtl::StringToUtf8(key.Path) << " " << rtl::StringToUtf8(value.Name);
        ++values;
      }
      P().Registry().CloseKey(h);
    }
    return values;
  }
  rtl::String FKey;
};

TEST_F(RegeditExport, EveryValueTypeReadsBackAsTheRegistryHoldsIt) {
  const std::u16string text =
      u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" + FKey +
      u"]\r\n"
      u"@=\"the default\"\r\n"
      u"\"Plain\"=\"C:\\\\Program Files\\\\Q\\\\\"\r\n"
      u"\"Quotes = \\\"and\\\" more\"=\"say \\\"hi\\\"\"\r\n"
      u"\"Cyrillic\"=\"Привет, мир\"\r\n"
      u"\"Empty string\"=\"\"\r\n"
      u"\"Dword\"=dword:0000002a\r\n"
      u"\"Qword\"=hex(b):01,02,03,04,05,06,07,08\r\n"
      u"\"Binary\"=hex:00,01,02,fe,ff,00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,18,19,1a,\\\r\n"
      u"  1b,1c,1d,1e,1f,20\r\n"
      u"\"Zero length\"=hex:\r\n"
      u"\"Expand\"=hex(2):25,00,50,00,41,00,54,00,48,00,25,00,00,00\r\n"
      u"\"Multi\"=hex(7):61,00,00,00,62,00,20,00,63,00,00,00,00,00\r\n"
      u"\r\n[HKEY_CURRENT_USER\\" +
      FKey + u"\\Sub Key With Spaces]\r\n\"Inner\"=dword:ffffffff\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  WriteBytes(Dir() / "in.reg", bytes);
  ASSERT_EQ(std::system(("reg import \"" + (Dir() / "in.reg").string() + "\" >NUL 2>&1").c_str()), 0);

  const posix::TRegStore exported = Export("HKEY_CURRENT_USER\\" + rtl::StringToUtf8(FKey), Dir() / "out.reg");
  EXPECT_EQ(CompareWithRegistry(exported, TRegRoot::CurrentUser, u"HKEY_CURRENT_USER"), 12);
  // And the export holds what was imported.
  posix::TRegStore imported;
  imported.Load(bytes, u"in.reg", nullptr);
  for (const auto& [name, key] : imported.Keys()) {
    if (key.Values.empty()) continue;
    const posix::TRegStoreKey* other = exported.FindKey(TRegRoot::CurrentUser, name.substr(18));
    ASSERT_NE(other, nullptr) << rtl::StringToUtf8(key.Path);
    EXPECT_EQ(other->Values.size(), key.Values.size()) << rtl::StringToUtf8(key.Path);
  }
}

// Whole trees that the system wrote and no test changes while this one runs.
TEST_F(RegeditExport, TheSystemsOwnTreesReadBack) {
  int values = 0;
  int n = 0;
  for (const char* tree : {"HKEY_CURRENT_USER\\Control Panel", "HKEY_CURRENT_USER\\Software\\Wine"}) {
    const posix::TRegStore exported = Export(tree, Dir() / ("tree" + std::to_string(n++) + ".reg"));
    EXPECT_GT(exported.Keys().size(), 2u) << tree;
    values += CompareWithRegistry(exported, TRegRoot::CurrentUser, u"HKEY_CURRENT_USER");
  }
  EXPECT_GT(values, 10);
}

}  // namespace
}  // namespace qor::platform::testing
#endif
