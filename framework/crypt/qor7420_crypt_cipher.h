#pragma once
// The block-cipher component a crypter uses, in the chaining of the crypter's data
// format: IV = E(K, zero block), CBC over full blocks, the final partial block
// XORed with E(K, CV).
#include <cstddef>
#include <cstdint>
#include <memory>

#include "rtl/exceptions.h"
#include "rtl/strings.h"

namespace qor {

// Raised by a cipher: "Invalid key size", or a failure of the cipher library.
// (The macro needs the base as one plain name.)
using ECipherErrorBase = rtl::Exception;
QOR_DECLARE_EXCEPTION(ECipherError, ECipherErrorBase);

// Overwrites memory in a way the compiler does not drop as a dead store.
void SecureZero(void* AData, std::size_t ACount) noexcept;

class TQorCipher {
 public:
  TQorCipher() = default;
  TQorCipher(const TQorCipher&) = delete;
  TQorCipher& operator=(const TQorCipher&) = delete;
  // Burns the state that is left.
  virtual ~TQorCipher() = default;

  virtual std::size_t BlockSize() const = 0;
  // Sets the key (AKeySizeInBits of the bytes at AKey) and the chaining value to
  // the derived IV. Raises ECipherError "Invalid key size" for a size the cipher
  // does not take.
  virtual void Init(const void* AKey, std::uint64_t AKeySizeInBits) = 0;
  // Full blocks only, from AIn to AOut (the same buffer or apart); the chaining
  // value is carried between calls.
  virtual void EncryptCBC(const std::uint8_t* AIn, std::uint8_t* AOut, std::size_t ACount) = 0;
  virtual void DecryptCBC(const std::uint8_t* AIn, std::uint8_t* AOut, std::size_t ACount) = 0;
  // XORs ACount bytes (fewer than a block) with E(K, CV): the same operation in
  // both directions.
  virtual void CryptTail(const std::uint8_t* AIn, std::uint8_t* AOut, std::size_t ACount) = 0;
  // Wipes the key schedule and the chaining value; Init is needed again.
  virtual void Burn() noexcept = 0;
};

// A cipher class: its algorithm name and the construction of an instance.
struct TQorCipherClass {
  rtl::StringView Algorithm;
  std::unique_ptr<TQorCipher> (*Create)();
};

}  // namespace qor
