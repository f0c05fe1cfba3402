// The Blowfish cipher the crypter creates, checked with the published test vectors.
#include <gtest/gtest.h>

#include "crypt_test_support.h"
#include "framework/crypt/qor7420_core_crypt.h"

namespace qor {
namespace {

using crypt_test::FromHex;
using crypt_test::ToHex;

struct TVector {
  const char* Key;
  const char* Plain;
  const char* Cipher;
};

// The author's single-block vectors, and the variable-key-length set (prefixes of
// F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677, plain FEDCBA9876543210).
constexpr TVector kVectors[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
    {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
    {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
    {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
    {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
    {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
    {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
    {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
    {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
    {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
    {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
    {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
    {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
    {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
    {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
    {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
    {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
    {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
    {"0101010101010101", "0123456789ABCDEF", "FA34EC4847B268B2"},
    {"1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE"},
    {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
    {"0000000000000000", "FFFFFFFFFFFFFFFF", "014933E0CDAFF6E4"},
    {"FFFFFFFFFFFFFFFF", "0000000000000000", "F21E9A77B71C49BC"},
    {"0123456789ABCDEF", "0000000000000000", "245946885754369A"},
    {"FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A"},
    {"F0", "FEDCBA9876543210", "F9AD597C49DB005E"},
    {"F0E1", "FEDCBA9876543210", "E91D21C1D961A6D6"},
    {"F0E1D2", "FEDCBA9876543210", "E9C2B70A1BC65CF3"},
    {"F0E1D2C3", "FEDCBA9876543210", "BE1E639408640F05"},
    {"F0E1D2C3B4", "FEDCBA9876543210", "B39E44481BDB1E6E"},
    {"F0E1D2C3B4A5", "FEDCBA9876543210", "9457AA83B1928C0D"},
    {"F0E1D2C3B4A596", "FEDCBA9876543210", "8BB77032F960629D"},
    {"F0E1D2C3B4A59687", "FEDCBA9876543210", "E87A244E2CC85E82"},
    {"F0E1D2C3B4A5968778", "FEDCBA9876543210", "15750E7A4F4EC577"},
    {"F0E1D2C3B4A596877869", "FEDCBA9876543210", "122BA70B3AB64AE0"},
    {"F0E1D2C3B4A5968778695A", "FEDCBA9876543210", "3A833C9AFFC537F6"},
    {"F0E1D2C3B4A5968778695A4B", "FEDCBA9876543210", "9409DA87A90F6BF2"},
    {"F0E1D2C3B4A5968778695A4B3C", "FEDCBA9876543210", "884F80625060B8B4"},
    {"F0E1D2C3B4A5968778695A4B3C2D", "FEDCBA9876543210", "1F85031C19E11968"},
    {"F0E1D2C3B4A5968778695A4B3C2D1E", "FEDCBA9876543210", "79D9373A714CA34F"},
    {"F0E1D2C3B4A5968778695A4B3C2D1E0F", "FEDCBA9876543210", "93142887EE3BE15C"},
    {"F0E1D2C3B4A5968778695A4B3C2D1E0F00", "FEDCBA9876543210", "03429E838CE2D14B"},
    {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011", "FEDCBA9876543210", "A4299E27469FF67B"},
    {"F0E1D2C3B4A5968778695A4B3C2D1E0F001122", "FEDCBA9876543210", "AFD5AED1C1BC96A8"},
    {"F0E1D2C3B4A5968778695A4B3C2D1E0F00112233", "FEDCBA9876543210", "10851C0E3858DA9F"},
    {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344", "FEDCBA9876543210", "E6F51ED79B9DB21F"},
    {"F0E1D2C3B4A5968778695A4B3C2D1E0F001122334455", "FEDCBA9876543210", "64A6E14AFD36B46F"},
    {"F0E1D2C3B4A5968778695A4B3C2D1E0F00112233445566", "FEDCBA9876543210", "80C7D7D45A5479AD"},
    {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210", "05044B62FA52D080"},
};

std::unique_ptr<TQorCipher> KeyedCipher(const std::string& key) {
  rtl::IPtr<TQorCrypterBlowFish> crypter(rtl::Create<TQorCrypterBlowFish>());
  std::unique_ptr<TQorCipher> cipher = crypter->CreateCipher();
  cipher->Init(key.data(), key.size() * 8);
  return cipher;
}

std::uint8_t* Bytes(std::string& s) { return reinterpret_cast<std::uint8_t*>(s.data()); }

std::string Xor(std::string a, const std::string& b) {
  for (std::size_t i = 0; i < a.size(); ++i) a[i] = static_cast<char>(a[i] ^ b[i]);
  return a;
}

// The cipher only chains, so a single block is reached through a chain of two:
// after block X the chaining value is E(K, X ^ IV); feeding P ^ that value gives
// E(K, P). Decrypting (X, C) yields D(K, C) ^ X as its second block.
TEST(BlowfishCipher, PublishedVectorsHoldInBothDirections) {
  for (const TVector& v : kVectors) {
    SCOPED_TRACE(v.Key);
    const std::string key = FromHex(v.Key), plain = FromHex(v.Plain), cipherText = FromHex(v.Cipher);

    std::unique_ptr<TQorCipher> enc = KeyedCipher(key);
    std::string first(8, '\0');
    enc->EncryptCBC(Bytes(first), Bytes(first), 8);
    std::string second = Xor(plain, first);
    enc->EncryptCBC(Bytes(second), Bytes(second), 8);
    EXPECT_EQ(ToHex(second), v.Cipher);

    std::unique_ptr<TQorCipher> dec = KeyedCipher(key);
    std::string chain = std::string(8, '\0') + cipherText;
    dec->DecryptCBC(Bytes(chain), Bytes(chain), 16);
    EXPECT_EQ(ToHex(chain.substr(8)), v.Plain);
  }
}

// With the zero key the IV is E(0, 0) = 4EF997456198DD78 itself, so the published
// vectors give whole encrypted texts of the format: P1 = IV encrypts to E(0, 0),
// and P2 = IV ^ FF..FF then to E(0, FF..FF).
TEST(BlowfishCipher, FormatOfTheZeroKeyFollowsFromTheVectors) {
  rtl::IPtr<IQorCrypter> crypter(rtl::Create<TQorCrypterBlowFish>());
  const std::string key(8, '\0');
  crypter->SetKey(key.data(), 8);
  rtl::TMemoryStream source, dest;
  crypt_test::Fill(source, FromHex("4EF997456198DD78B10668BA9E672287"));
  crypter->Encrypt(source, dest);
  EXPECT_EQ(ToHex(crypt_test::ContentOf(dest)), "4EF997456198DD78014933E0CDAFF6E4");
}

TEST(BlowfishCipher, KeySizes) {
  const std::string bytes = crypt_test::Pattern(80);
  for (std::size_t size : {1u, 4u, 8u, 16u, 55u, 56u}) {
    SCOPED_TRACE(size);
    EXPECT_NO_THROW(KeyedCipher(bytes.substr(0, size)));
  }
  for (std::size_t size : {0u, 57u, 72u, 73u}) {
    SCOPED_TRACE(size);
    try {
      KeyedCipher(bytes.substr(0, size));
      ADD_FAILURE() << "accepted";
    } catch (const ECipherError& e) {
      EXPECT_EQ(e.Message(), u"Invalid key size");
      EXPECT_EQ(e.ClassName(), u"ECipherError");
    }
  }
}

// libgcrypt calls this key weak (two S-box entries collide) and refuses it unless
// told to allow it; the algorithm has no weak keys to refuse.
TEST(BlowfishCipher, LibraryWeakKeyWorks) {
  const std::string key = FromHex("C3132E25D56540B3AD98889E89E741F1");
  const std::string plain = crypt_test::Pattern(45);
  std::string data = plain;
  std::unique_ptr<TQorCipher> cipher = KeyedCipher(key);
  cipher->EncryptCBC(Bytes(data), Bytes(data), 40);
  cipher->CryptTail(Bytes(data) + 40, Bytes(data) + 40, 5);
  EXPECT_EQ(data, crypt_test::ReferenceCrypt(key, plain, true));

  // Apart from the source, the same bytes.
  std::string apart(45, '\0');
  std::unique_ptr<TQorCipher> other = KeyedCipher(key);
  other->EncryptCBC(reinterpret_cast<const std::uint8_t*>(plain.data()), Bytes(apart), 40);
  other->CryptTail(reinterpret_cast<const std::uint8_t*>(plain.data()) + 40, Bytes(apart) + 40, 5);
  EXPECT_EQ(apart, data);
}

}  // namespace
}  // namespace qor
