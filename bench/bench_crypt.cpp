// The Blowfish crypter beside libgcrypt's raw CBC on the same 64 MiB of data: the
// stream forms (destination sized in advance) and the file forms.
//
// BM_Paired* alternate the crypter and raw CBC inside one loop and report the
// ratio of their speeds in processor time, which the load of a shared machine
// disturbs least.
#include <benchmark/benchmark.h>
#include <gcrypt.h>

#include <time.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "framework/crypt/qor7420_core_crypt.h"
#include "platform/system_platform.h"

namespace {

using namespace qor;

constexpr std::int64_t kSize = std::int64_t{64} << 20;
constexpr char kKey[] = "bench key of 20 byte";

const std::vector<std::uint8_t>& Plain() {
  static const std::vector<std::uint8_t> plain = [] {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kSize));
    std::uint32_t x = 12345;
    for (auto& b : bytes) b = static_cast<std::uint8_t>((x = x * 1664525u + 1013904223u) >> 24);
    return bytes;
  }();
  return plain;
}

// What the crypter's CBC part costs without it: one handle, the whole buffer in
// one call, in place (in == nullptr) or from in to out.
void RawCbc(std::uint8_t* out, const std::uint8_t* in, bool encrypt) {
  gcry_cipher_hd_t h = nullptr;
  gcry_cipher_open(&h, GCRY_CIPHER_BLOWFISH, GCRY_CIPHER_MODE_CBC, 0);
  gcry_cipher_setkey(h, kKey, sizeof kKey - 1);
  std::uint8_t iv[8] = {};
  gcry_cipher_setiv(h, iv, 8);
  const auto size = static_cast<std::size_t>(kSize);
  if (encrypt)
    gcry_cipher_encrypt(h, out, size, in, in ? size : 0);
  else
    gcry_cipher_decrypt(h, out, size, in, in ? size : 0);
  gcry_cipher_close(h);
}
void RawCbc(std::vector<std::uint8_t>& buffer, bool encrypt) { RawCbc(buffer.data(), nullptr, encrypt); }

rtl::IPtr<IQorCrypter> NewCrypter() {
  gcry_check_version(nullptr);
  rtl::IPtr<IQorCrypter> crypter(rtl::Create<TQorCrypterBlowFish>());
  crypter->SetKey(kKey, sizeof kKey - 1);
  return crypter;
}

struct TStreams {
  rtl::TMemoryStream Source, Dest;
  TStreams() {
    Source.WriteBuffer(Plain().data(), kSize);
    Dest.SetCapacity(kSize);
    Dest.WriteBuffer(Plain().data(), kSize);  // touches every page before timing
  }
};

void BM_RawCbc(benchmark::State& state, bool encrypt) {
  gcry_check_version(nullptr);
  std::vector<std::uint8_t> buffer = Plain();
  for (auto _ : state) {
    RawCbc(buffer, encrypt);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kSize);
}

void BM_Stream(benchmark::State& state, bool encrypt) {
  auto crypter = NewCrypter();
  TStreams streams;
  for (auto _ : state) {
    streams.Dest.SetPosition(0);
    if (encrypt)
      crypter->Encrypt(streams.Source, streams.Dest);
    else
      crypter->Decrypt(streams.Source, streams.Dest);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kSize);
}

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_Paired(benchmark::State& state, bool encrypt) {
  auto crypter = NewCrypter();
  TStreams streams;
  std::vector<std::uint8_t> buffer = Plain(), out = Plain();
  double crypterSeconds = 0, rawSeconds = 0, rawCopySeconds = 0;
  for (auto _ : state) {
    const double t0 = CpuSeconds();
    streams.Dest.SetPosition(0);
    if (encrypt)
      crypter->Encrypt(streams.Source, streams.Dest);
    else
      crypter->Decrypt(streams.Source, streams.Dest);
    const double t1 = CpuSeconds();
    RawCbc(buffer, encrypt);
    const double t2 = CpuSeconds();
    RawCbc(out.data(), Plain().data(), encrypt);
    const double t3 = CpuSeconds();
    benchmark::ClobberMemory();
    crypterSeconds += t1 - t0;
    rawSeconds += t2 - t1;
    rawCopySeconds += t3 - t2;
  }
  const double mib = static_cast<double>(kSize) / (1 << 20) * static_cast<double>(state.iterations());
  state.counters["crypter_MiBps"] = mib / crypterSeconds;
  state.counters["raw_MiBps"] = mib / rawSeconds;
  state.counters["raw_to_other_MiBps"] = mib / rawCopySeconds;
  // The crypter's speed over raw CBC in place, and over raw CBC from one buffer into another.
  state.counters["ratio"] = rawSeconds / crypterSeconds;
  state.counters["ratio_to_other"] = rawCopySeconds / crypterSeconds;
}

// Real files in the temporary folder through the system platform; each run
// replaces the destination (written, flushed to the disk, renamed over it).
class TBenchFiles {
 public:
  TBenchFiles() : FPlatform(platform::CreateSystemPlatform()), FScope(*FPlatform) {
    FDir = std::filesystem::temp_directory_path() /
           ("nol_bench_crypt_" + std::to_string(FPlatform->Clock().ProcessId()));
    std::filesystem::create_directories(FDir);
    std::ofstream(FDir / "plain.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(Plain().data()), static_cast<std::streamsize>(kSize));
  }
  ~TBenchFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(FDir, ignored);
  }
  rtl::String Name(const char* leaf) const { return (FDir / leaf).u16string(); }

 private:
  std::unique_ptr<platform::TPlatform> FPlatform;
  platform::TScopedPlatform FScope;
  std::filesystem::path FDir;
};

void BM_File(benchmark::State& state, bool encrypt) {
  auto crypter = NewCrypter();
  TBenchFiles files;
  const rtl::String plain = files.Name("plain.bin"), encrypted = files.Name("enc.bin"),
                    decrypted = files.Name("dec.bin");
  crypter->Encrypt(plain, encrypted);
  for (auto _ : state) {
    if (encrypt)
      crypter->Encrypt(plain, encrypted);
    else
      crypter->Decrypt(encrypted, decrypted);
  }
  state.SetBytesProcessed(state.iterations() * kSize);
}

BENCHMARK_CAPTURE(BM_RawCbc, encrypt, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Stream, encrypt, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RawCbc, decrypt, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Stream, decrypt, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Paired, encrypt, true)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK_CAPTURE(BM_Paired, decrypt, false)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK_CAPTURE(BM_File, encrypt, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_File, decrypt, false)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
