// The crypter's file forms, on the in-memory files of the fake platform.
#include <gtest/gtest.h>

#include "crypt_test_support.h"
#include "framework/crypt/qor7420_core_crypt.h"
#include "platform/fake/fake_platform.h"
#include "platform/file_stream.h"

namespace qor {
namespace {

using crypt_test::Pattern;
using crypt_test::ReferenceCrypt;
using platform::TFileCreation;

// Records every open, so the tests see which names were created and how.
class TRecordingFiles : public platform::fake::TFakeFiles {
 public:
  struct TOpen {
    rtl::String Path;
    TFileCreation Creation;
  };
  std::vector<TOpen> Opens;

  platform::THandle OpenFile(rtl::StringView path, platform::TFileAccess access, TFileCreation creation,
                             bool exclusive, platform::TSysError& error) override {
    Opens.push_back({rtl::String(path), creation});
    return TFakeFiles::OpenFile(path, access, creation, exclusive, error);
  }
  std::vector<rtl::String> Created() const {
    std::vector<rtl::String> names;
    for (const TOpen& open : Opens)
      if (open.Creation != TFileCreation::OpenExisting) names.push_back(open.Path);
    return names;
  }
};

class TTestPlatform : public platform::fake::TFakePlatform {
 public:
  TRecordingFiles& Files() override { return FRecordingFiles; }

 private:
  TRecordingFiles FRecordingFiles;
};

class CrypterFiles : public ::testing::Test {
 protected:
  static constexpr char kKey[] = "file key";

  CrypterFiles() : FScope(FPlatform) {
    FPlatform.Clock().Tick = 1000;
    FCrypter->SetKey(kKey, sizeof kKey - 1);
  }
  TRecordingFiles& Files() { return FPlatform.Files(); }
  std::string Contents(rtl::StringView name) { return Files().Contents(name).value_or("<missing>"); }
  std::vector<rtl::String> Names() { return Files().FileNames(); }

  TTestPlatform FPlatform;
  platform::TScopedPlatform FScope;
  rtl::IPtr<IQorCrypter> FCrypter{rtl::Create<TQorCrypterBlowFish>()};
  rtl::IPtr<IQorCrypter> FInvalid{rtl::Create<TQorCrypterBlowFish>()};  // no key
};

TEST_F(CrypterFiles, RoundTripsBetweenFilesAndInPlace) {
  for (std::size_t n : {0u, 1u, 7u, 8u, 9u, 8192u, 8193u, 20000u}) {
    SCOPED_TRACE(n);
    TTestPlatform platform;
    platform::TScopedPlatform scope(platform);
    TRecordingFiles& files = platform.Files();
    auto contents = [&](rtl::StringView name) { return files.Contents(name).value_or("<missing>"); };
    const std::string plain = Pattern(n, static_cast<unsigned>(n) + 1);
    const std::string encrypted = ReferenceCrypt(kKey, plain, true);
    files.SetFile(u"C:\\data\\plain.bin", plain);

    FCrypter->Encrypt(u"C:\\data\\plain.bin", u"C:\\data\\enc.bin");
    EXPECT_EQ(contents(u"C:\\data\\enc.bin"), encrypted);
    EXPECT_GE(files.FlushCount(u"C:\\data\\enc.bin"), 1);  // on the disk before it replaced anything
    FCrypter->Decrypt(u"C:\\data\\enc.bin", u"C:\\data\\back.bin");
    EXPECT_EQ(contents(u"C:\\data\\back.bin"), plain);

    FCrypter->Encrypt(u"C:\\data\\plain.bin");
    EXPECT_EQ(contents(u"C:\\data\\plain.bin"), encrypted);
    FCrypter->Decrypt(u"C:\\data\\plain.bin");
    EXPECT_EQ(contents(u"C:\\data\\plain.bin"), plain);

    // Nothing else is left behind.
    EXPECT_EQ(files.FileNames(),
              (std::vector<rtl::String>{u"C:\\data\\plain.bin", u"C:\\data\\enc.bin", u"C:\\data\\back.bin"}));
    EXPECT_EQ(files.OpenFileCount(), 0);
  }
}

// The same bytes as the stream form on every build.
TEST_F(CrypterFiles, KnownAnswer) {
  rtl::IPtr<IQorCrypter> crypter(rtl::Create<TQorCrypterBlowFish>());
  crypter->SetKey("Blowfish key", 12);
  Files().SetFile(u"fox.txt", "The quick brown fox jumps over the lazy dog");
  crypter->Encrypt(u"fox.txt");
  EXPECT_EQ(crypt_test::ToHex(Contents(u"fox.txt")),
            "223CD1DF10B1F4F9A8744106D3A2CE78884EDAAF8A08859FE949E733BB275B4D791A0BDCE71A6D17AB9C56");
}

TEST_F(CrypterFiles, ExistingDestinationIsReplaced) {
  Files().SetFile(u"C:\\src.txt", "new plain");
  Files().SetFile(u"C:\\dst.txt", std::string(50000, 'o'));
  FCrypter->Encrypt(u"C:\\src.txt", u"C:\\dst.txt");
  EXPECT_EQ(Contents(u"C:\\dst.txt"), ReferenceCrypt(kKey, "new plain", true));
}

TEST_F(CrypterFiles, SourceNamedAsDestinationIsProcessedWhole) {
  const std::string plain = Pattern(30000, 4);
  Files().SetFile(u"C:\\same.bin", plain);
  FCrypter->Encrypt(u"C:\\same.bin", u"c:/SAME.bin");
  EXPECT_EQ(Contents(u"C:\\same.bin"), ReferenceCrypt(kKey, plain, true));
}

TEST_F(CrypterFiles, TemporaryNames) {
  struct TCase {
    rtl::StringView Name;
    std::uint32_t Tick;
    rtl::StringView Expected;
  };
  const TCase cases[] = {
      {u"report.old.txt", 1234, u"report_1234.old.txt"},
      {u"C:\\docs\\report.old.txt", 77, u"C:\\docs\\report_77.old.txt"},
      {u"C:\\dir.d\\report", 5, u"C:\\dir.d\\report_5"},
      {u"dir.d/sub/report", 5, u"dir.d/sub/report_5"},
      {u"..\\a.b\\c.d.e", 0, u"..\\a.b\\c_0.d.e"},
      {u".hidden", 9, u"_9.hidden"},
      {u"report.", 9, u"report_9."},
      {u"noext", 4294967295u, u"noext_4294967295"},
  };
  for (const TCase& c : cases) EXPECT_EQ(CrypterTempFileName(c.Name, c.Tick), c.Expected);
}

TEST_F(CrypterFiles, InPlaceFormWritesItsTemporaryFileNextToTheNamedOne) {
  Files().SetFile(u"C:\\docs\\report.old.txt", "content");
  FCrypter->Encrypt(u"C:\\docs\\report.old.txt");
  ASSERT_EQ(Files().Created().size(), 1u);
  EXPECT_EQ(Files().Created()[0], u"C:\\docs\\report_1000.old.txt");
  EXPECT_EQ(Files().Opens.back().Creation, TFileCreation::CreateNew);
}

// An existing file of the temporary name belongs to someone else: it is neither
// opened nor deleted, and the next tick value is tried.
TEST_F(CrypterFiles, TemporaryNameCollisionMovesToTheNextTickValue) {
  Files().SetFile(u"C:\\docs\\report.txt", "plain");
  Files().SetFile(u"C:\\docs\\report_1000.txt", "someone else's");
  Files().SetFile(u"C:\\docs\\report_1001.txt", "and another's");
  FCrypter->Encrypt(u"C:\\docs\\report.txt");
  EXPECT_EQ(Contents(u"C:\\docs\\report.txt"), ReferenceCrypt(kKey, "plain", true));
  EXPECT_EQ(Contents(u"C:\\docs\\report_1000.txt"), "someone else's");
  EXPECT_EQ(Contents(u"C:\\docs\\report_1001.txt"), "and another's");
  const std::vector<rtl::String> created = Files().Created();
  ASSERT_FALSE(created.empty());
  EXPECT_EQ(created.back(), u"C:\\docs\\report_1002.txt");
  EXPECT_FALSE(Files().FileExists(u"C:\\docs\\report_1002.txt"));
}

TEST_F(CrypterFiles, MissingSourceCreatesNothing) {
  Files().SetFile(u"C:\\dst.txt", "kept");
  for (IQorCrypter* crypter : {FCrypter.get(), FInvalid.get()}) {
    crypter->Encrypt(u"C:\\missing.txt", u"C:\\out.txt");
    crypter->Decrypt(u"C:\\missing.txt", u"C:\\dst.txt");
    crypter->Encrypt(u"C:\\missing.txt");
  }
  EXPECT_EQ(Names(), std::vector<rtl::String>{u"C:\\dst.txt"});
  EXPECT_EQ(Contents(u"C:\\dst.txt"), "kept");
  EXPECT_TRUE(Files().Opens.empty());
}

TEST_F(CrypterFiles, InvalidKeyTouchesNoFile) {
  Files().SetFile(u"C:\\src.txt", "plain");
  Files().SetFile(u"C:\\dst.txt", "old destination");
  rtl::IPtr<IQorCrypter> tooLong(rtl::Create<TQorCrypterBlowFish>());
  tooLong->SetKey(std::string(57, 'k').data(), 57);
  for (IQorCrypter* crypter : {FInvalid.get(), tooLong.get()}) {
    EXPECT_THROW(crypter->Encrypt(u"C:\\src.txt", u"C:\\dst.txt"), ECipherError);
    EXPECT_THROW(crypter->Encrypt(u"C:\\src.txt", u"C:\\new.txt"), ECipherError);
    EXPECT_THROW(crypter->Decrypt(u"C:\\src.txt"), ECipherError);
  }
  EXPECT_EQ(Names(), (std::vector<rtl::String>{u"C:\\src.txt", u"C:\\dst.txt"}));
  EXPECT_EQ(Contents(u"C:\\src.txt"), "plain");
  EXPECT_EQ(Contents(u"C:\\dst.txt"), "old destination");
  EXPECT_TRUE(Files().Opens.empty());
}

// Whatever fails after the temporary file exists, the temporary file goes, the
// destination keeps its old content and the caller gets the error.
TEST_F(CrypterFiles, FailuresLeaveTheDestinationAsItWas) {
  const std::string plain = Pattern(20000, 8);
  struct TCase {
    const char* What;
    std::function<void(TRecordingFiles&)> Arrange;
  };
  const TCase cases[] = {
      {"write", [](TRecordingFiles& f) { f.FailWrites = true; }},
      {"flush", [](TRecordingFiles& f) { f.FailFlush = true; }},
      {"rename", [](TRecordingFiles& f) { f.SetReadOnly(u"C:\\docs\\dst.txt"); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    TTestPlatform platform;
    platform::TScopedPlatform scope(platform);
    TRecordingFiles& files = platform.Files();
    files.SetFile(u"C:\\docs\\src.txt", plain);
    files.SetFile(u"C:\\docs\\dst.txt", "old destination");
    c.Arrange(files);
    EXPECT_THROW(FCrypter->Encrypt(u"C:\\docs\\src.txt", u"C:\\docs\\dst.txt"), rtl::EStreamError);
    EXPECT_THROW(FCrypter->Encrypt(u"C:\\docs\\dst.txt"), rtl::EStreamError);
    EXPECT_EQ(files.Contents(u"C:\\docs\\dst.txt"), "old destination");
    EXPECT_EQ(files.Contents(u"C:\\docs\\src.txt"), plain);
    EXPECT_EQ(files.FileNames(), (std::vector<rtl::String>{u"C:\\docs\\src.txt", u"C:\\docs\\dst.txt"}));
    EXPECT_EQ(files.OpenFileCount(), 0);
  }
}

TEST_F(CrypterFiles, ReplacementFailureNamesTheDestination) {
  Files().SetFile(u"C:\\src.txt", "plain");
  Files().SetFile(u"C:\\dst.txt", "old");
  Files().SetReadOnly(u"C:\\dst.txt");
  try {
    FCrypter->Encrypt(u"C:\\src.txt", u"C:\\dst.txt");
    ADD_FAILURE() << "no error";
  } catch (const rtl::EFCreateError& e) {
    EXPECT_EQ(e.Message(), u"Cannot create file \"C:\\dst.txt\". Access is denied");
  }
}

TEST_F(CrypterFiles, SourceThatCannotBeOpenedRaisesAndCreatesNothing) {
  Files().SetFile(u"C:\\src.txt", "plain");
  platform::TFileStream holder(u"C:\\src.txt", platform::TFileStreamMode::OpenRead, true);
  EXPECT_THROW(FCrypter->Encrypt(u"C:\\src.txt", u"C:\\dst.txt"), rtl::EFOpenError);
  EXPECT_THROW(FCrypter->Encrypt(u"C:\\src.txt"), rtl::EFOpenError);
  EXPECT_EQ(Names(), std::vector<rtl::String>{u"C:\\src.txt"});
  EXPECT_EQ(Files().Created().size(), 0u);
}

}  // namespace
}  // namespace qor
