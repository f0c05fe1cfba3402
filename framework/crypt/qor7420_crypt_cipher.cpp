#include "framework/crypt/qor7420_crypt_cipher.h"

#include <cstring>

namespace qor {

namespace {
// Called through a volatile pointer, so the store cannot be proven dead.
void* (*volatile WipeMemory)(void*, int, std::size_t) = std::memset;
}  // namespace

void SecureZero(void* AData, std::size_t ACount) noexcept {
  if (AData && ACount) WipeMemory(AData, 0, ACount);
}

}  // namespace qor
