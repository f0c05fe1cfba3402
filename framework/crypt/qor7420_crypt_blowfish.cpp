#include "framework/crypt/qor7420_crypt_blowfish.h"

#include <gcrypt.h>

#include <cstring>

namespace qor {

namespace {

constexpr std::size_t kBlock = 8;
constexpr std::uint64_t kMinKeyBits = 8;
constexpr std::uint64_t kMaxKeyBits = 448;  // libgcrypt takes up to 576; the algorithm is 448

[[noreturn]] void RaiseGcrypt(gcry_error_t err) {
  throw ECipherError(u"Blowfish: " + rtl::Utf8ToString(gcry_strerror(err)));
}

void Check(gcry_error_t err) {
  if (err) RaiseGcrypt(err);
}

// libgcrypt wants its version check before the first use; once per process.
void EnsureGcrypt() {
  static const bool ready = [] {
    if (!gcry_check_version(GCRYPT_VERSION))
      throw ECipherError(u"Blowfish: libgcrypt is older than " + rtl::Utf8ToString(GCRYPT_VERSION));
    // No secure memory is used: the key lives in our own buffers and is wiped there.
    gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
    gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
    return true;
  }();
  (void)ready;
}

// One CBC handle does all of it. CBC-encrypting a zero block yields E(K, CV) and
// leaves that as the new CV, so with a zero chaining value it derives the IV and
// at the end of the data it yields the pad of the final partial block.
class TBlowfishCipher final : public TQorCipher {
 public:
  ~TBlowfishCipher() override { Burn(); }

  std::size_t BlockSize() const override { return kBlock; }

  void Init(const void* AKey, std::uint64_t AKeySizeInBits) override {
    Burn();
    if (AKeySizeInBits < kMinKeyBits || AKeySizeInBits > kMaxKeyBits || AKeySizeInBits % 8 != 0)
      throw ECipherError(u"Invalid key size");
    EnsureGcrypt();
    Check(gcry_cipher_open(&FHandle, GCRY_CIPHER_BLOWFISH, GCRY_CIPHER_MODE_CBC, 0));
    // Every key of the algorithm must work: libgcrypt refuses a few as weak
    // unless told otherwise, and then still answers "weak key" with a usable handle.
    Check(gcry_cipher_ctl(FHandle, GCRYCTL_SET_ALLOW_WEAK_KEY, nullptr, 1));
    const gcry_error_t err = gcry_cipher_setkey(FHandle, AKey, static_cast<std::size_t>(AKeySizeInBits / 8));
    if (err && gcry_err_code(err) != GPG_ERR_WEAK_KEY) RaiseGcrypt(err);
    std::uint8_t zero[kBlock] = {};
    Check(gcry_cipher_setiv(FHandle, zero, kBlock));
    // CV = E(K, 0 XOR 0): the IV.
    Check(gcry_cipher_encrypt(FHandle, zero, kBlock, nullptr, 0));
    SecureZero(zero, kBlock);
  }

  void EncryptCBC(const std::uint8_t* AIn, std::uint8_t* AOut, std::size_t ACount) override {
    if (ACount) Check(gcry_cipher_encrypt(Handle(), AOut, ACount, AIn, ACount));
  }

  void DecryptCBC(const std::uint8_t* AIn, std::uint8_t* AOut, std::size_t ACount) override {
    if (ACount) Check(gcry_cipher_decrypt(Handle(), AOut, ACount, AIn, ACount));
  }

  void CryptTail(const std::uint8_t* AIn, std::uint8_t* AOut, std::size_t ACount) override {
    if (!ACount) return;
    std::uint8_t pad[kBlock] = {};
    Check(gcry_cipher_encrypt(Handle(), pad, kBlock, nullptr, 0));
    for (std::size_t i = 0; i < ACount && i < kBlock; ++i) AOut[i] = static_cast<std::uint8_t>(AIn[i] ^ pad[i]);
    SecureZero(pad, kBlock);
  }

  void Burn() noexcept override {
    if (!FHandle) return;
    gcry_cipher_reset(FHandle);  // the chaining value
    gcry_cipher_close(FHandle);  // wipes the key schedule and frees the handle
    FHandle = nullptr;
  }

 private:
  gcry_cipher_hd_t Handle() const {
    if (!FHandle) throw ECipherError(u"Blowfish: the cipher has no key");
    return FHandle;
  }

  gcry_cipher_hd_t FHandle = nullptr;
};

std::unique_ptr<TQorCipher> CreateBlowfish() { return std::make_unique<TBlowfishCipher>(); }

}  // namespace

const TQorCipherClass& BlowfishCipherClass() {
  static constexpr TQorCipherClass cipherClass{u"Blowfish", &CreateBlowfish};
  return cipherClass;
}

}  // namespace qor
