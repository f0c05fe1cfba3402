#pragma once
// Helpers of the crypter tests: hex, byte patterns, streams from strings, and a
// block-by-block reference of the data format on libgcrypt's single-block Blowfish.
#include <gcrypt.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "rtl/streams.h"

namespace qor::crypt_test {

inline std::string FromHex(std::string_view hex) {
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    throw std::invalid_argument("hex digit");
  };
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(digit(hex[i]) * 16 + digit(hex[i + 1]));
  return bytes;
}

inline std::string ToHex(std::string_view bytes) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

// Bytes that differ from block to block, so a chaining mistake shows.
inline std::string Pattern(std::size_t count, unsigned seed = 1) {
  std::string bytes(count, '\0');
  std::uint32_t x = 0x9E3779B9u * seed + 12345u;
  for (std::size_t i = 0; i < count; ++i) {
    x = x * 1664525u + 1013904223u;
    bytes[i] = static_cast<char>(x >> 24);
  }
  return bytes;
}

inline std::string ContentOf(rtl::TMemoryStream& stream) {
  return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

inline void Fill(rtl::TMemoryStream& stream, std::string_view bytes) {
  stream.Clear();
  stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

inline std::string Sha256Hex(std::string_view bytes) {
  unsigned char digest[32];
  gcry_md_hash_buffer(GCRY_MD_SHA256, digest, bytes.data(), bytes.size());
  return ToHex(std::string_view(reinterpret_cast<const char*>(digest), sizeof digest));
}

// The format step by step: IV = E(K, 0); C = E(K, P ^ CV), CV = C; a final
// partial block XORed with E(K, CV).
inline std::string ReferenceCrypt(std::string_view key, std::string_view data, bool encrypt) {
  gcry_check_version(nullptr);
  gcry_cipher_hd_t h = nullptr;
  if (gcry_cipher_open(&h, GCRY_CIPHER_BLOWFISH, GCRY_CIPHER_MODE_ECB, 0)) throw std::runtime_error("open");
  gcry_cipher_ctl(h, GCRYCTL_SET_ALLOW_WEAK_KEY, nullptr, 1);
  const gcry_error_t err = gcry_cipher_setkey(h, key.data(), key.size());
  if (err && gcry_err_code(err) != GPG_ERR_WEAK_KEY) throw std::runtime_error("setkey");
  auto E = [&](const unsigned char* in, unsigned char* out) { gcry_cipher_encrypt(h, out, 8, in, 8); };
  auto D = [&](const unsigned char* in, unsigned char* out) { gcry_cipher_decrypt(h, out, 8, in, 8); };

  unsigned char cv[8] = {}, t[8];
  E(cv, t);
  std::copy(t, t + 8, cv);
  std::string out(data);
  auto* p = reinterpret_cast<unsigned char*>(out.data());
  std::size_t i = 0;
  for (; i + 8 <= out.size(); i += 8) {
    if (encrypt) {
      for (int j = 0; j < 8; ++j) t[j] = p[i + j] ^ cv[j];
      E(t, p + i);
      std::copy(p + i, p + i + 8, cv);
    } else {
      unsigned char c[8];
      std::copy(p + i, p + i + 8, c);
      D(c, t);
      for (int j = 0; j < 8; ++j) p[i + j] = t[j] ^ cv[j];
      std::copy(c, c + 8, cv);
    }
  }
  if (i < out.size()) {
    E(cv, t);
    for (std::size_t j = 0; i + j < out.size(); ++j) p[i + j] ^= t[j];
  }
  gcry_cipher_close(h);
  return out;
}

}  // namespace qor::crypt_test
