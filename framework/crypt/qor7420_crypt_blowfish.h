#pragma once
// Blowfish from libgcrypt, in the crypter's chaining.
#include "framework/crypt/qor7420_crypt_cipher.h"

namespace qor {

// Keys of 1 to 56 bytes (8 to 448 bits); every such key works, including the
// few that libgcrypt calls weak.
const TQorCipherClass& BlowfishCipherClass();

}  // namespace qor
