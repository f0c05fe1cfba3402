#pragma once
// The crypter registry, the crypter base and the Blowfish crypter.
//
// Data format, streams and files alike: no header, the same length as the plain
// data; IV = E(K, zero block); CBC over the full blocks; a final partial block is
// XORed with E(K, CV), CV being the last full ciphertext block (or the IV). Data
// passes in 8192-byte chunks, so the chunking does not show in the result.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "framework/crypt/qor7420_crypt_cipher.h"
#include "framework/crypt/qor7420_intf_crypt.h"

namespace qor::platform {
class TFileStream;
}

namespace qor {

class TQorCryptEngine : public rtl::TInterfaced<IQorCryptEngine> {
 public:
  // Appends the class unless it is registered already.
  void RegisterCrypter(const TQorCrypterClass& ACrypterClass) override;
  // The first class in registration order that matches; nullptr when none does.
  const TQorCrypterClass* FindCrypter(const rtl::TGUID& IID) override;
  // The algorithm name compares with only A to Z lower-cased.
  const TQorCrypterClass* FindCrypter(rtl::StringView Algorithm) override;
  // A new instance of the class FindCrypter gives; empty when there is none.
  rtl::IPtr<IQorCrypter> CreateCrypter(const rtl::TGUID& IID) override;
  rtl::IPtr<IQorCrypter> CreateCrypter(rtl::StringView Algorithm) override;

  int CrypterCount() const { return static_cast<int>(FCrypterList.size()); }

 private:
  std::vector<const TQorCrypterClass*> FCrypterList;
};

enum class TCryptDirection { Encrypt, Decrypt };

// The base of the crypters: the key and the data format, on the cipher that the
// concrete class names.
class TQorCrypter : public rtl::TInterfaced<IQorCrypter> {
 public:
  static constexpr std::size_t kChunkSize = 8192;

  ~TQorCrypter() override;

  // Copies the key; its validity is checked by each operation.
  void SetKey(const void* AKey, std::uint32_t ASizeInBytes) override;
  void Encrypt(rtl::TStream& AStreamSource, rtl::TStream& AStreamDest) override;
  void Encrypt(rtl::TStream& AStream) override;
  void Encrypt(rtl::StringView AFileNameSource, rtl::StringView AFileNameDest) override;
  void Encrypt(rtl::StringView AFileName) override;
  void Decrypt(rtl::TStream& AStreamSource, rtl::TStream& AStreamDest) override;
  void Decrypt(rtl::TStream& AStream) override;
  void Decrypt(rtl::StringView AFileNameSource, rtl::StringView AFileNameDest) override;
  void Decrypt(rtl::StringView AFileName) override;

  // The class-level cipher of the concrete crypter.
  virtual const TQorCipherClass& GetCipherClass() const = 0;
  std::unique_ptr<TQorCipher> CreateCipher() const;

  // Called after each chunk an operation has processed, with the bytes done and
  // the source's size: the progress display of a tool that crypts large files.
  using TProgressProc = std::function<void(std::int64_t ADone, std::int64_t ATotal)>;
  void SetOnProgress(TProgressProc AOnProgress) { FOnProgress = std::move(AOnProgress); }

 protected:
  // Source from position 0 to its end, written at the destination's position.
  void CryptStream(rtl::TStream& ASource, rtl::TStream& ADest, TCryptDirection ADirection);
  // The stream's content replaced by the processed bytes; position at the end.
  void CryptStreamInPlace(rtl::TStream& AStream, TCryptDirection ADirection);
  // A missing source does nothing. The destination is replaced whole by a rename
  // over it that keeps its permissions, or not at all; only where its folder takes
  // no new file is an existing destination rewritten in place.
  void CryptFile(rtl::StringView ASource, rtl::StringView ADest, TCryptDirection ADirection);
  void CryptFileInPlace(rtl::StringView AFileName, TCryptDirection ADirection);

 private:
  // A cipher keyed with FKey: raises "Invalid key size" before any data is touched.
  std::unique_ptr<TQorCipher> CreateKeyedCipher() const;
  void CryptStreamWith(TQorCipher& ACipher, rtl::TStream& ASource, rtl::TStream& ADest,
                       TCryptDirection ADirection);
  void CryptStreamInPlaceWith(TQorCipher& ACipher, rtl::TStream& AStream, TCryptDirection ADirection);
  // The destination rewritten where it is, for a folder that takes no new file.
  void CryptFileOver(TQorCipher& ACipher, std::unique_ptr<platform::TFileStream> ASourceStream,
                     rtl::StringView ASource, rtl::StringView ADest, TCryptDirection ADirection);

  std::vector<std::uint8_t> FKey;
  std::uint32_t FSizeInBytes = 0;
  TProgressProc FOnProgress;
};

class TQorCrypterBlowFish : public rtl::TInterfacedExtend<TQorCrypter, IQorCrypterBlowFish> {
 public:
  // Class level: the cipher, and the descriptor the registry stores.
  static const TQorCipherClass& CipherClass();
  static const TQorCrypterClass& ClassType();

  const TQorCipherClass& GetCipherClass() const override { return CipherClass(); }
};

// The descriptor of a crypter class T (T::CipherClass, T::ImplementsStatic and T's
// default constructor).
template <class T>
class TQorCrypterClassOf final : public TQorCrypterClass {
 public:
  explicit constexpr TQorCrypterClassOf(rtl::StringView AClassName) : FClassName(AClassName) {}
  rtl::StringView ClassName() const override { return FClassName; }
  rtl::String GetAlgorithm() const override { return rtl::String(T::CipherClass().Algorithm); }
  bool Implements(const rtl::TGUID& AIID) const override { return T::ImplementsStatic(AIID); }
  rtl::IPtr<IQorCrypter> Create() const override {
    rtl::IPtr<T> instance(rtl::Create<T>());
    return rtl::Supports<IQorCrypter>(instance);
  }

 private:
  rtl::StringView FClassName;
};

// The temporary name next to AFileName with the tick value ATick: the first full
// stop of the name part becomes "_" ATick "."; without one, "_" ATick is appended.
rtl::String CrypterTempFileName(rtl::StringView AFileName, std::uint32_t ATick);

// Start-up: creates the registry in CryptEngine and registers TQorCrypterBlowFish;
// shut-down: nothing.
const startup::TModule& CoreCryptModule();

}  // namespace qor
