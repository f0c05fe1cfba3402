// libFuzzer target: the crypter's stream forms. For any key of 1 to 56 bytes and any
// data, the encryption has the data's length and decrypts to it again, apart and in
// place alike.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "framework/crypt/qor7420_core_crypt.h"
#include "fuzz_input.h"

using namespace qor;

namespace {

std::vector<std::uint8_t> ContentOf(rtl::TMemoryStream& s) { return {s.Memory(), s.Memory() + s.Size()}; }

void Fill(rtl::TMemoryStream& s, const std::vector<std::uint8_t>& bytes) {
  s.Clear();
  if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput input(data, size);
  std::uint8_t key[56];
  const std::size_t keySize = input.Byte() % 56 + 1;
  for (std::size_t k = 0; k < keySize; ++k) key[k] = input.Byte();
  const std::span<const std::uint8_t> rest = input.Take(size);
  const std::vector<std::uint8_t> plain(rest.begin(), rest.end());

  rtl::IPtr<IQorCrypter> crypter(rtl::Create<TQorCrypterBlowFish>());
  crypter->SetKey(key, static_cast<std::uint32_t>(keySize));

  rtl::TMemoryStream source, encrypted, decrypted;
  Fill(source, plain);
  crypter->Encrypt(source, encrypted);
  const std::vector<std::uint8_t> cipherText = ContentOf(encrypted);
  if (cipherText.size() != plain.size()) std::abort();
  crypter->Decrypt(encrypted, decrypted);
  if (ContentOf(decrypted) != plain) std::abort();

  rtl::TMemoryStream inPlace;
  Fill(inPlace, plain);
  crypter->Encrypt(inPlace);
  if (ContentOf(inPlace) != cipherText) std::abort();
  crypter->Decrypt(inPlace);
  if (ContentOf(inPlace) != plain) std::abort();
  return 0;
}
