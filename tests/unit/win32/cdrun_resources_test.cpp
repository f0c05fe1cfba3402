// What the launcher's executable carries: the manifest (the invoking user's rights,
// version 6 common controls, no DPI scaling), one 32 x 32 32-bit icon, a version
// resource, the GUI subsystem, and no DLL of ours among its imports.
#include <gtest/gtest.h>

#ifdef NOL_CDRUN_EXE

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "forms/win32/win32_api.h"
#include "launcher/nol_cdrun_strings.h"

namespace {

std::wstring ExePath() {
  std::string narrow = NOL_CDRUN_EXE;
  for (char& c : narrow)
    if (c == '/') c = '\\';
  return std::wstring(narrow.begin(), narrow.end());  // the build's paths are ASCII
}

class CdrunResources : public ::testing::Test {
 protected:
  void SetUp() override {
    Module = LoadLibraryExW(ExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(Module, nullptr) << "cannot open " << NOL_CDRUN_EXE;
  }
  void TearDown() override {
    if (Module) FreeLibrary(Module);
  }
  std::string Resource(LPCWSTR name, LPCWSTR type) {
    HRSRC r = FindResourceW(Module, name, type);
    if (!r) return {};
    const char* p = static_cast<const char*>(LockResource(LoadResource(Module, r)));
    return p ? std::string(p, SizeofResource(Module, r)) : std::string();
  }
  HMODULE Module = nullptr;
};

TEST_F(CdrunResources, ManifestAsksForNoElevationVisualStylesAndNoScaling) {
  const std::string m = Resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_FALSE(m.empty());
  EXPECT_NE(m.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_NE(m.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(m.find(">false</dpiAware>"), std::string::npos);
}

TEST_F(CdrunResources, OneIconOf32By32At32Bits) {
  const std::string group = Resource(L"MAINICON", MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_GE(group.size(), 6u + 14u);
  auto word = [&](std::size_t at) { return static_cast<unsigned>(static_cast<unsigned char>(group[at]) | static_cast<unsigned char>(group[at + 1]) << 8); };
  ASSERT_EQ(word(4), 1u);  // one image
  EXPECT_EQ(static_cast<unsigned char>(group[6]), 32);   // width
  EXPECT_EQ(static_cast<unsigned char>(group[7]), 32);   // height
  EXPECT_EQ(word(6 + 6), 32u);                           // bits per pixel
  const std::string image = Resource(MAKEINTRESOURCEW(word(6 + 12)), MAKEINTRESOURCEW(3));  // RT_ICON
  ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
  BITMAPINFOHEADER bih;
  std::memcpy(&bih, image.data(), sizeof bih);
  EXPECT_EQ(bih.biWidth, 32);
  EXPECT_EQ(bih.biBitCount, 32);
}

TEST_F(CdrunResources, VersionResource) {
  const std::string v = Resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));  // RT_VERSION
  ASSERT_FALSE(v.empty());
  const char signature[] = {'\xBD', '\x04', '\xEF', '\xFE'};
  const auto at = v.find(std::string(signature, 4));
  ASSERT_NE(at, std::string::npos);
  VS_FIXEDFILEINFO info;
  ASSERT_GE(v.size(), at + sizeof info);
  std::memcpy(&info, v.data() + at, sizeof info);
  EXPECT_EQ(info.dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(info.dwFileType, static_cast<DWORD>(VFT_APP));
  const std::wstring name = L"OriginalFilename";
  EXPECT_NE(v.find(std::string(reinterpret_cast<const char*>(name.data()), name.size() * 2)), std::string::npos);
}

// The CD carries the executable alone: the C and C++ runtimes, threads and the
// libraries are linked in, so it imports system DLLs only.
TEST(CdrunImage, GuiSubsystemAndSystemDllsOnly) {
  std::ifstream in(NOL_CDRUN_EXE, std::ios::binary);
  if (!in) {  // under Wine the build's own path is a Z: path
    std::wstring w = ExePath();
    in.open(std::string(w.begin(), w.end()), std::ios::binary);
  }
  ASSERT_TRUE(in);
  const std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto u16 = [&](std::size_t at) { std::uint16_t v; std::memcpy(&v, file.data() + at, 2); return v; };
  auto u32 = [&](std::size_t at) { std::uint32_t v; std::memcpy(&v, file.data() + at, 4); return v; };
  const std::size_t pe = u32(0x3C);
  ASSERT_EQ(u32(pe), 0x00004550u);  // "PE\0\0"
  const std::size_t optional = pe + 24;
  const bool pe32plus = u16(optional) == 0x20B;
  EXPECT_EQ(u16(optional + 68), IMAGE_SUBSYSTEM_WINDOWS_GUI);
  const std::size_t directories = optional + (pe32plus ? 112 : 96);
  const std::uint32_t importRva = u32(directories + 8);
  ASSERT_NE(importRva, 0u);
  const std::size_t sections = optional + u16(pe + 20);
  const unsigned count = u16(pe + 6);
  auto offset = [&](std::uint32_t rva) -> std::size_t {
    for (unsigned i = 0; i < count; ++i) {
      const std::size_t s = sections + i * 40;
      const std::uint32_t va = u32(s + 12), size = std::max(u32(s + 8), u32(s + 16)), raw = u32(s + 20);
      if (rva >= va && rva < va + size) return raw + (rva - va);
    }
    return 0;
  };
  std::vector<std::string> dlls;
  for (std::size_t d = offset(importRva); d && u32(d + 12) != 0; d += 20) {
    std::string name(file.data() + offset(u32(d + 12)));
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    dlls.push_back(name);
  }
  ASSERT_FALSE(dlls.empty());
  for (const std::string& dll : dlls) {
    EXPECT_NE(dll.rfind("lib", 0), 0u) << dll;  // libstdc++, libgcc, libwinpthread, libgcrypt, libpng ...
    EXPECT_NE(dll, "zlib1.dll");
  }
}

// M1 is a localisable string of the executable, the built-in text the same.
TEST_F(CdrunResources, ReinstallQuestionIsInTheStringTable) {
  const wchar_t* text = nullptr;
  const int length = LoadStringW(Module, IDS_REINSTALL_QUESTION, reinterpret_cast<LPWSTR>(&text), 0);
  ASSERT_GT(length, 0);
  const std::u16string builtIn = u"" NOL_TEXT_REINSTALL_QUESTION;
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length)), builtIn);
  EXPECT_EQ(builtIn.substr(0, 10), u"\u0412\u044b \u0434\u0435\u0439\u0441\u0442\u0432\u0438");
}

}  // namespace

#endif  // NOL_CDRUN_EXE
