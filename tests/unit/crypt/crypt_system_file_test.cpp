// The file forms on the real file system of the build's platform (POSIX natively,
// Win32 under Wine): the same bytes everywhere, and the replacement by rename.
#ifdef NOL_CRYPT_SYSTEM_PLATFORM
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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

}  // namespace
}  // namespace qor
#endif
