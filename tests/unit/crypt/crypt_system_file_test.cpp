// The file forms on the real file system of the build's platform (POSIX natively,
// Win32 under Wine): the same bytes everywhere, and the replacement by rename.
#ifdef NOL_CRYPT_SYSTEM_PLATFORM
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "crypt_test_support.h"
#include "framework/crypt/qor7420_core_crypt.h"
#include "platform/system_platform.h"

namespace qor {
namespace {

namespace fs = std::filesystem;

class CrypterSystemFiles : public ::testing::Test {
 protected:
  CrypterSystemFiles()
      : FPlatform(platform::CreateSystemPlatform()),
        FScope(*FPlatform),
        FDir(fs::temp_directory_path() /
             ("nol_crypt_" + std::to_string(FPlatform->Clock().ProcessId()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    fs::remove_all(FDir);
    fs::create_directories(FDir);
    FCrypter->SetKey("Blowfish key", 12);
  }
  ~CrypterSystemFiles() override {
    std::error_code ignored;
    fs::remove_all(FDir, ignored);
  }

  rtl::String Name(const char* leaf) const { return (FDir / leaf).u16string(); }
  void Write(const char* leaf, const std::string& bytes) const {
    std::ofstream(FDir / leaf, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string Read(const char* leaf) const {
    std::ifstream in(FDir / leaf, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<std::string> Listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(FDir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::unique_ptr<platform::TPlatform> FPlatform;
  platform::TScopedPlatform FScope;
  fs::path FDir;
  rtl::IPtr<IQorCrypter> FCrypter{rtl::Create<TQorCrypterBlowFish>()};
};

// The expected bytes are fixed, so a file written by one build decrypts with any other.
TEST_F(CrypterSystemFiles, KnownAnswersRoundTrip) {
  const std::string fox = "The quick brown fox jumps over the lazy dog";
  const std::string big = crypt_test::Pattern(100003, 42);
  Write("fox.txt", fox);
  Write("big.bin", big);

  FCrypter->Encrypt(Name("fox.txt"));
  EXPECT_EQ(crypt_test::ToHex(Read("fox.txt")),
            "223CD1DF10B1F4F9A8744106D3A2CE78884EDAAF8A08859FE949E733BB275B4D791A0BDCE71A6D17AB9C56");
  FCrypter->Decrypt(Name("fox.txt"));
  EXPECT_EQ(Read("fox.txt"), fox);

  FCrypter->Encrypt(Name("big.bin"), Name("big.enc"));
  EXPECT_EQ(crypt_test::Sha256Hex(Read("big.enc")), "645A53F441113124703DC6F394E7E7DB60A706609BFCFF65BD425B61F039E581");
  FCrypter->Decrypt(Name("big.enc"), Name("big.out"));
  EXPECT_EQ(Read("big.out"), big);
  EXPECT_EQ(Listing(), (std::vector<std::string>{"big.bin", "big.enc", "big.out", "fox.txt"}));
}

TEST_F(CrypterSystemFiles, ExistingDestinationAndSameNameAreReplacedWhole) {
  const std::string plain = crypt_test::Pattern(50000, 6);
  Write("src.bin", plain);
  Write("dst.bin", std::string(90000, 'o'));
  FCrypter->Encrypt(Name("src.bin"), Name("dst.bin"));
  EXPECT_EQ(Read("dst.bin"), crypt_test::ReferenceCrypt("Blowfish key", plain, true));
  FCrypter->Encrypt(Name("src.bin"), Name("src.bin"));
  EXPECT_EQ(Read("src.bin"), Read("dst.bin"));
  EXPECT_EQ(Listing(), (std::vector<std::string>{"dst.bin", "src.bin"}));
}

TEST_F(CrypterSystemFiles, InvalidKeyAndMissingSourceTouchNothing) {
  Write("src.bin", "plain");
  Write("dst.bin", "old destination");
  rtl::IPtr<IQorCrypter> noKey(rtl::Create<TQorCrypterBlowFish>());
  EXPECT_THROW(noKey->Encrypt(Name("src.bin"), Name("dst.bin")), ECipherError);
  EXPECT_THROW(noKey->Encrypt(Name("src.bin"), Name("new.bin")), ECipherError);
  EXPECT_THROW(noKey->Encrypt(Name("src.bin")), ECipherError);
  FCrypter->Encrypt(Name("missing.bin"), Name("dst.bin"));
  FCrypter->Encrypt(Name("missing.bin"));
  EXPECT_EQ(Read("src.bin"), "plain");
  EXPECT_EQ(Read("dst.bin"), "old destination");
  EXPECT_EQ(Listing(), (std::vector<std::string>{"dst.bin", "src.bin"}));
}

// A folder of the destination's name cannot be replaced: the error reaches the
// caller and the temporary file is gone.
TEST_F(CrypterSystemFiles, FailedReplacementRaisesAndCleansUp) {
  Write("src.bin", "plain");
  fs::create_directory(FDir / "dst.d");
  Write("dst.d/inner.txt", "inside");
  EXPECT_THROW(FCrypter->Encrypt(Name("src.bin"), Name("dst.d")), rtl::EFCreateError);
  EXPECT_EQ(Listing(), (std::vector<std::string>{"dst.d", "src.bin"}));
  EXPECT_EQ(Read("dst.d/inner.txt"), "inside");
}

TEST_F(CrypterSystemFiles, TemporaryFileFailureNamesTheCallersFile) {
  Write("src.bin", "plain");
  const rtl::String dest = Name("no-such-folder/out.bin");
  try {
    FCrypter->Encrypt(Name("src.bin"), dest);
    ADD_FAILURE() << "no error";
  } catch (const rtl::EFCreateError& e) {
    const rtl::String prefix = u"Cannot create file \"" + dest + u"\". ";
    EXPECT_TRUE(e.Message().starts_with(prefix) && e.Message().size() > prefix.size())
        << rtl::StringToUtf8(e.Message());
  }
  EXPECT_EQ(Listing(), (std::vector<std::string>{"src.bin"}));
}

// A decrypted secret must not become readable by others through the replacement.
TEST_F(CrypterSystemFiles, ReplacementKeepsThePermissions) {
  Write("secret.bin", "the secret");
  Write("src.bin", "plain");
  Write("dst.bin", "old destination");
#ifdef _WIN32
  auto attributes = [this](const char* leaf) { return ::GetFileAttributesW((FDir / leaf).wstring().c_str()); };
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  ASSERT_TRUE(::SetFileAttributesW((FDir / "secret.bin").wstring().c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(::SetFileAttributesW((FDir / "dst.bin").wstring().c_str(), FILE_ATTRIBUTE_SYSTEM));
  FCrypter->Encrypt(Name("secret.bin"));
  FCrypter->Decrypt(Name("secret.bin"));
  FCrypter->Encrypt(Name("src.bin"), Name("dst.bin"));
  EXPECT_EQ(attributes("secret.bin") & kKept, DWORD{FILE_ATTRIBUTE_HIDDEN});
  EXPECT_EQ(attributes("dst.bin") & kKept, DWORD{FILE_ATTRIBUTE_SYSTEM});
#else
  auto mode = [this](const char* leaf) {
    struct stat st {};
    ::stat((FDir / leaf).c_str(), &st);
    return st.st_mode & 07777;
  };
  ::chmod((FDir / "secret.bin").c_str(), 0600);
  ::chmod((FDir / "dst.bin").c_str(), 0640);
  FCrypter->Encrypt(Name("secret.bin"));
  FCrypter->Decrypt(Name("secret.bin"));
  FCrypter->Encrypt(Name("src.bin"), Name("dst.bin"));
  EXPECT_EQ(mode("secret.bin"), 0600u);
  EXPECT_EQ(mode("dst.bin"), 0640u);
#endif
  EXPECT_EQ(Read("secret.bin"), "the secret");
  EXPECT_EQ(Listing(), (std::vector<std::string>{"dst.bin", "secret.bin", "src.bin"}));
}

#ifndef _WIN32
// A folder that takes no new file, for root too (immutable).
class TLockedFolder {
 public:
  explicit TLockedFolder(const fs::path& dir) : FDir(dir) {
    ::chmod(FDir.c_str(), 0555);
    if (::geteuid() == 0) FImmutable = std::system(("chattr +i '" + FDir.string() + "'").c_str()) == 0;
  }
  ~TLockedFolder() {
    if (FImmutable) std::system(("chattr -i '" + FDir.string() + "'").c_str());
    ::chmod(FDir.c_str(), 0755);
  }
  bool Locked() const { return ::geteuid() != 0 || FImmutable; }

 private:
  fs::path FDir;
  bool FImmutable = false;
};

TEST_F(CrypterSystemFiles, WritableDestinationInALockedFolderIsRewrittenInPlace) {
  const std::string plain = crypt_test::Pattern(20000, 9);
  fs::create_directory(FDir / "ro");
  Write("ro/a.bin", plain);
  Write("ro/b.bin", std::string(30000, 'o'));
  Write("src.bin", plain);
  {
    TLockedFolder lock(FDir / "ro");
    if (!lock.Locked()) GTEST_SKIP() << "no way to lock a folder against root here";
    FCrypter->Encrypt(Name("ro/a.bin"));
    FCrypter->Encrypt(Name("src.bin"), Name("ro/b.bin"));
    EXPECT_EQ(Read("ro/a.bin"), Read("ro/b.bin"));
    EXPECT_EQ(Read("ro/a.bin").size(), plain.size());
    EXPECT_NE(Read("ro/a.bin"), plain);
    FCrypter->Decrypt(Name("ro/a.bin"));
    EXPECT_EQ(Read("ro/a.bin"), plain);
    // A new file still cannot be made there; the error names it.
    try {
      FCrypter->Encrypt(Name("src.bin"), Name("ro/new.bin"));
      ADD_FAILURE() << "no error";
    } catch (const rtl::EFCreateError& e) {
      EXPECT_TRUE(e.Message().starts_with(u"Cannot create file \"" + Name("ro/new.bin") + u"\". "));
    }
  }
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(FDir / "ro")) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a.bin", "b.bin"}));
}
#endif

}  // namespace
}  // namespace qor
#endif
