// The crypter's stream forms and the data format.
#include <gtest/gtest.h>

#include "crypt_test_crypter.h"
#include "crypt_test_support.h"
#include "framework/crypt/qor7420_core_crypt.h"

namespace qor {
namespace {

using crypt_test::ContentOf;
using crypt_test::Fill;
using crypt_test::Pattern;
using crypt_test::ReferenceCrypt;

rtl::IPtr<IQorCrypter> NewBlowfish(std::string_view key) {
  rtl::IPtr<IQorCrypter> crypter(rtl::Create<TQorCrypterBlowFish>());
  crypter->SetKey(key.data(), static_cast<std::uint32_t>(key.size()));
  return crypter;
}

std::string Crypt(IQorCrypter& crypter, std::string_view data, bool encrypt) {
  rtl::TMemoryStream source, dest;
  Fill(source, data);
  if (encrypt)
    crypter.Encrypt(source, dest);
  else
    crypter.Decrypt(source, dest);
  return ContentOf(dest);
}

void ExpectInvalidKeySize(const std::function<void()>& operation) {
  try {
    operation();
    ADD_FAILURE() << "no error";
  } catch (const ECipherError& e) {
    EXPECT_EQ(e.Message(), u"Invalid key size");
  }
}

TEST(CrypterStreams, EveryLengthRoundTripsInTheDocumentedFormat) {
  const std::string key = "round trip key";
  auto crypter = NewBlowfish(key);
  auto other = NewBlowfish("another key");
  std::vector<std::size_t> lengths;
  for (std::size_t n = 0; n <= 64; ++n) lengths.push_back(n);
  for (std::size_t n : {8191u, 8192u, 8193u, 8199u, 16384u + 3u, 100003u}) lengths.push_back(n);
  for (std::size_t n : lengths) {
    SCOPED_TRACE(n);
    const std::string plain = Pattern(n, static_cast<unsigned>(n));
    const std::string encrypted = Crypt(*crypter, plain, true);
    ASSERT_EQ(encrypted.size(), n);
    EXPECT_EQ(encrypted, ReferenceCrypt(key, plain, true));
    EXPECT_EQ(Crypt(*crypter, encrypted, false), plain);
    EXPECT_EQ(Crypt(*crypter, plain, false), ReferenceCrypt(key, plain, false));
    const std::string wrong = Crypt(*other, encrypted, false);
    EXPECT_EQ(wrong.size(), n);
    if (n) {
      EXPECT_NE(wrong, plain);
    }
  }
}

// A progress display sees each chunk once, the count rising to the whole size, and
// the data are the same as without it.
TEST(CrypterStreams, ProgressCountsEveryChunkUpToTheSize) {
  const std::string plain = Pattern(3 * TQorCrypter::kChunkSize + 5, 9);
  rtl::IPtr<TQorCrypterBlowFish> crypter(rtl::Create<TQorCrypterBlowFish>());
  crypter->SetKey("progress", 8);
  std::vector<std::pair<std::int64_t, std::int64_t>> calls;
  crypter->SetOnProgress([&calls](std::int64_t done, std::int64_t total) { calls.emplace_back(done, total); });
  const std::int64_t size = static_cast<std::int64_t>(plain.size());
  const std::int64_t chunk = TQorCrypter::kChunkSize;
  const std::vector<std::pair<std::int64_t, std::int64_t>> expected = {
      {chunk, size}, {2 * chunk, size}, {3 * chunk, size}, {size, size}};
  EXPECT_EQ(Crypt(*crypter, plain, true), ReferenceCrypt("progress", plain, true));
  EXPECT_EQ(calls, expected);
  calls.clear();
  EXPECT_EQ(Crypt(*crypter, "", false), "");
  EXPECT_TRUE(calls.empty());
}

// Below one block only the final-partial-block rule applies, in both directions.
TEST(CrypterStreams, ShortInputEncryptsAndDecryptsAlike) {
  auto crypter = NewBlowfish("short");
  for (std::size_t n = 1; n < 8; ++n) {
    const std::string plain = Pattern(n, 7);
    const std::string encrypted = Crypt(*crypter, plain, true);
    EXPECT_EQ(encrypted, Crypt(*crypter, plain, false));
    EXPECT_NE(encrypted, plain);
  }
}

// Fixed bytes: every build (Linux, Windows 32 and 64 bit) must produce exactly these.
TEST(CrypterStreams, KnownAnswers) {
  auto crypter = NewBlowfish("Blowfish key");
  const std::string fox = "The quick brown fox jumps over the lazy dog";
  EXPECT_EQ(crypt_test::ToHex(Crypt(*crypter, fox, true)),
            "223CD1DF10B1F4F9A8744106D3A2CE78884EDAAF8A08859FE949E733BB275B4D791A0BDCE71A6D17AB9C56");
  const std::string big = Pattern(100003, 42);
  const std::string encrypted = Crypt(*crypter, big, true);
  EXPECT_EQ(crypt_test::Sha256Hex(encrypted), "645A53F441113124703DC6F394E7E7DB60A706609BFCFF65BD425B61F039E581");
  EXPECT_EQ(Crypt(*crypter, encrypted, false), big);
}

TEST(CrypterStreams, KeySizes) {
  const std::string bytes = Pattern(60, 3);
  for (std::size_t size : {1u, 56u}) {
    auto crypter = NewBlowfish(bytes.substr(0, size));
    const std::string plain = Pattern(21);
    EXPECT_EQ(Crypt(*crypter, plain, true), ReferenceCrypt(bytes.substr(0, size), plain, true));
  }
  for (std::size_t size : {0u, 57u}) {
    auto crypter = NewBlowfish(bytes.substr(0, size));
    ExpectInvalidKeySize([&] { Crypt(*crypter, "data", true); });
    ExpectInvalidKeySize([&] { Crypt(*crypter, "", false); });  // checked even with nothing to do
  }
  rtl::IPtr<IQorCrypter> unset(rtl::Create<TQorCrypterBlowFish>());
  ExpectInvalidKeySize([&] { Crypt(*unset, "", true); });
}

TEST(CrypterStreams, InvalidKeyFailsBeforeAnythingIsRead) {
  auto crypter = NewBlowfish(std::string(57, 'k'));
  rtl::TMemoryStream source, dest;
  Fill(source, "some plain data");
  source.SetPosition(4);
  ExpectInvalidKeySize([&] { crypter->Encrypt(source, dest); });
  EXPECT_EQ(source.Position(), 4);
  EXPECT_EQ(dest.Size(), 0);
  ExpectInvalidKeySize([&] { crypter->Decrypt(source); });
  EXPECT_EQ(ContentOf(source), "some plain data");
}

TEST(CrypterStreams, LaterKeyReplacesTheEarlierOne) {
  auto crypter = NewBlowfish(std::string(56, 'x'));
  crypter->SetKey("abc", 3);
  EXPECT_EQ(Crypt(*crypter, "replaced key", true), ReferenceCrypt("abc", "replaced key", true));
}

TEST(CrypterStreams, SourceIsReadFromItsStartAndDestinationWrittenWhereItStands) {
  auto crypter = NewBlowfish("positions");
  const std::string plain = Pattern(30);
  rtl::TMemoryStream source, dest;
  Fill(source, plain);
  source.SetPosition(17);
  Fill(dest, "0123456789" + std::string(40, '#'));
  dest.SetPosition(10);
  crypter->Encrypt(source, dest);
  EXPECT_EQ(source.Position(), 30);
  EXPECT_EQ(dest.Position(), 40);
  EXPECT_EQ(ContentOf(dest), "0123456789" + ReferenceCrypt("positions", plain, true) + std::string(10, '#'));
}

TEST(CrypterStreams, InPlaceFormKeepsTheLengthAndRestores) {
  auto crypter = NewBlowfish("in place");
  for (std::size_t n : {0u, 5u, 8u, 8195u}) {
    SCOPED_TRACE(n);
    const std::string plain = Pattern(n, 9);
    rtl::TMemoryStream stream;
    Fill(stream, plain);
    stream.SetPosition(n / 2);
    crypter->Encrypt(stream);
    EXPECT_EQ(ContentOf(stream), ReferenceCrypt("in place", plain, true));
    EXPECT_EQ(stream.Position(), static_cast<std::int64_t>(n));
    crypter->Decrypt(stream);
    EXPECT_EQ(ContentOf(stream), plain);
    EXPECT_EQ(stream.Size(), static_cast<std::int64_t>(n));
  }
}

// One stream passed as both ends would be overwritten ahead of the reading; it is
// processed as the in-place form instead.
TEST(CrypterStreams, SameStreamAsBothEndsIsProcessedInPlace) {
  auto crypter = NewBlowfish("same");
  const std::string plain = Pattern(20000, 5);
  rtl::TMemoryStream stream;
  Fill(stream, plain);
  crypter->Encrypt(stream, stream);
  EXPECT_EQ(ContentOf(stream), ReferenceCrypt("same", plain, true));
  crypter->Decrypt(stream, stream);
  EXPECT_EQ(ContentOf(stream), plain);
}

// A stream that claims a size and hands out (or takes) bytes without storing them.
class TVirtualStream : public rtl::TStream {
 public:
  explicit TVirtualStream(std::int64_t size, std::int64_t failReadAt = -1) : FSize(size), FFailReadAt(failReadAt) {}
  std::int64_t Read(void*, std::int64_t count) override {
    if (FFailReadAt >= 0 && FPosition >= FFailReadAt) return 0;
    const std::int64_t n = std::max<std::int64_t>(0, std::min(count, FSize - FPosition));
    FPosition += n;
    return n;
  }
  std::int64_t Write(const void*, std::int64_t count) override {
    FPosition += count;
    FSize = std::max(FSize, FPosition);
    Written += count;
    return count;
  }
  std::int64_t Seek(std::int64_t offset, rtl::TSeekOrigin origin) override {
    const std::int64_t base = origin == rtl::TSeekOrigin::soBeginning ? 0
                              : origin == rtl::TSeekOrigin::soCurrent ? FPosition
                                                                      : FSize;
    return FPosition = base + offset;
  }
  std::int64_t Size() override { return FSize; }
  void SetSize(std::int64_t size) override { FSize = size; }
  std::int64_t Written = 0;

 private:
  std::int64_t FSize;
  std::int64_t FPosition = 0;
  std::int64_t FFailReadAt;
};

// A 32-bit count would process 5 bytes of this stream.
TEST(CrypterStreams, StreamsOfFourGibibytesAndMoreAreProcessedWhole) {
  constexpr std::int64_t size = (std::int64_t{1} << 32) + 5;
  rtl::IPtr<IQorCrypter> crypter(rtl::Create<crypt_test::TCountingCrypter>());
  crypter->SetKey("k", 1);
  crypt_test::CountingStats() = {};
  TVirtualStream source(size), dest(0);
  crypter->Encrypt(source, dest);
  EXPECT_EQ(dest.Written, size);
  EXPECT_EQ(source.Position(), size);
  EXPECT_EQ(crypt_test::CountingStats().FullBytes, static_cast<std::uint64_t>(size - 5));
  EXPECT_EQ(crypt_test::CountingStats().TailBytes, 5u);
  EXPECT_EQ(crypt_test::CountingStats().TailCalls, 1);
  EXPECT_GE(crypt_test::CountingStats().Burns, 1);
}

TEST(CrypterStreams, StreamErrorsReachTheCaller) {
  auto crypter = NewBlowfish("errors");
  TVirtualStream source(100000, 16384), dest(0);
  EXPECT_THROW(crypter->Encrypt(source, dest), rtl::EReadError);
}

}  // namespace
}  // namespace qor
