#pragma once
// A second crypter class for the registry and the byte-count tests: its cipher
// leaves the bytes alone, counts what it is given and takes any key.
#include <cstdint>

#include "framework/crypt/qor7420_core_crypt.h"

namespace qor::crypt_test {

class ITestMarker : public rtl::IInterface {
 public:
  using Parent = rtl::IInterface;
  static constexpr rtl::TGUID IID = rtl::GUID("{5B0F3E1C-8A52-4D0B-9C61-2F7A4E9D1B33}");

 protected:
  ~ITestMarker() = default;
};

struct TCountingStats {
  std::uint64_t FullBytes = 0;
  std::uint64_t TailBytes = 0;
  int TailCalls = 0;
  int Burns = 0;
};

inline TCountingStats& CountingStats() {
  static TCountingStats stats;
  return stats;
}

class TCountingCipher final : public TQorCipher {
 public:
  std::size_t BlockSize() const override { return 8; }
  void Init(const void*, std::uint64_t) override {}
  void EncryptCBC(const std::uint8_t*, std::uint8_t*, std::size_t ACount) override {
    CountingStats().FullBytes += ACount;
  }
  void DecryptCBC(const std::uint8_t*, std::uint8_t*, std::size_t ACount) override {
    CountingStats().FullBytes += ACount;
  }
  void CryptTail(const std::uint8_t*, std::uint8_t*, std::size_t ACount) override {
    CountingStats().TailBytes += ACount;
    ++CountingStats().TailCalls;
  }
  void Burn() noexcept override { ++CountingStats().Burns; }
};

inline std::unique_ptr<TQorCipher> CreateCountingCipher() { return std::make_unique<TCountingCipher>(); }

class TCountingCrypter : public rtl::TInterfacedExtend<TQorCrypter, ITestMarker> {
 public:
  static const TQorCipherClass& CipherClass() {
    static constexpr TQorCipherClass cipherClass{u"Counting-\u00C4", &CreateCountingCipher};
    return cipherClass;
  }
  static const TQorCrypterClass& ClassType() {
    static constexpr TQorCrypterClassOf<TCountingCrypter> crypterClass{u"TCountingCrypter"};
    return crypterClass;
  }
  const TQorCipherClass& GetCipherClass() const override { return CipherClass(); }
};

}  // namespace qor::crypt_test
