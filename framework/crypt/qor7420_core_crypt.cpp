#include "framework/crypt/qor7420_core_crypt.h"

#include <algorithm>
#include <charconv>
#include <typeinfo>

#include "framework/crypt/qor7420_crypt_blowfish.h"
#include "platform/file_stream.h"
#include "platform/platform.h"

namespace qor {

namespace {

// Tick values tried for a temporary name before a collision counts as a failure.
constexpr int kTempNameAttempts = 1000;

// Wipes a buffer when the operation that used it ends, however it ends.
class TWipeOnExit {
 public:
  TWipeOnExit(void* AData, std::size_t ACount) : FData(AData), FCount(ACount) {}
  ~TWipeOnExit() { SecureZero(FData, FCount); }
  TWipeOnExit(const TWipeOnExit&) = delete;
  TWipeOnExit& operator=(const TWipeOnExit&) = delete;

 private:
  void* FData;
  std::size_t FCount;
};

struct TTempFile {
  rtl::String Name;
  std::unique_ptr<platform::TFileStream> Stream;
};

rtl::String CannotCreate(rtl::StringView AFileName) {
  return u"Cannot create file \"" + rtl::String(AFileName) + u"\". ";
}

// Creates a new file next to ADest that did not exist before: an existing name is
// never opened, and a collision moves on to the next tick value. A failure names
// ADest, the file the caller knows, with the system's reason.
TTempFile CreateTempFile(rtl::StringView ADest) {
  platform::TFileService& files = platform::Platform().Files();
  std::uint32_t tick = platform::Platform().Clock().TickCount();
  for (int attempt = 1;; ++attempt, ++tick) {
    rtl::String name = CrypterTempFileName(ADest, tick);
    try {
      auto stream = std::make_unique<platform::TFileStream>(name, platform::TFileStreamMode::CreateNew, true);
      return {std::move(name), std::move(stream)};
    } catch (const rtl::EFCreateError& e) {
      const bool collision = files.FileExists(name) || files.DirectoryExists(name);
      if (collision && attempt < kTempNameAttempts) continue;
      const rtl::String prefix = CannotCreate(name);
      const rtl::String& message = e.Message();
      const rtl::String reason = message.starts_with(prefix) ? message.substr(prefix.size()) : message;
      throw rtl::EFCreateError(CannotCreate(ADest) + reason);
    }
  }
}

rtl::String SysErrorText(platform::TFileService& AFiles) { return AFiles.SysErrorMessage(AFiles.LastError()); }

void FlushOrRaise(platform::TFileStream& AStream, rtl::StringView AFileName) {
  if (!AStream.FlushBuffers()) {
    platform::TFileService& files = platform::Platform().Files();
    throw rtl::EWriteError(u"Cannot write file \"" + rtl::String(AFileName) + u"\". " + SysErrorText(files));
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TQorCryptEngine

void TQorCryptEngine::RegisterCrypter(const TQorCrypterClass& ACrypterClass) {
  if (std::find(FCrypterList.begin(), FCrypterList.end(), &ACrypterClass) == FCrypterList.end())
    FCrypterList.push_back(&ACrypterClass);
}

const TQorCrypterClass* TQorCryptEngine::FindCrypter(const rtl::TGUID& IID) {
  for (const TQorCrypterClass* crypterClass : FCrypterList)
    if (crypterClass->Implements(IID)) return crypterClass;
  return nullptr;
}

const TQorCrypterClass* TQorCryptEngine::FindCrypter(rtl::StringView Algorithm) {
  const rtl::String wanted = rtl::AsciiLowerCase(Algorithm);
  for (const TQorCrypterClass* crypterClass : FCrypterList)
    if (rtl::AsciiLowerCase(crypterClass->GetAlgorithm()) == wanted) return crypterClass;
  return nullptr;
}

namespace {
rtl::IPtr<IQorCrypter> NewCrypter(const TQorCrypterClass* ACrypterClass) {
  if (!ACrypterClass || !ACrypterClass->Implements(IQorCrypter::IID)) return {};
  return ACrypterClass->Create();
}
}  // namespace

rtl::IPtr<IQorCrypter> TQorCryptEngine::CreateCrypter(const rtl::TGUID& IID) { return NewCrypter(FindCrypter(IID)); }

rtl::IPtr<IQorCrypter> TQorCryptEngine::CreateCrypter(rtl::StringView Algorithm) {
  return NewCrypter(FindCrypter(Algorithm));
}

// ---------------------------------------------------------------------------
// TQorCrypter

TQorCrypter::~TQorCrypter() { SecureZero(FKey.data(), FKey.size()); }

void TQorCrypter::SetKey(const void* AKey, std::uint32_t ASizeInBytes) {
  if (ASizeInBytes && !AKey) throw ECipherError(u"The key bytes are missing");
  SecureZero(FKey.data(), FKey.size());  // the old key, before the buffer may move
  const auto* bytes = static_cast<const std::uint8_t*>(AKey);
  FKey.assign(bytes, bytes + ASizeInBytes);
  FSizeInBytes = ASizeInBytes;
}

void TQorCrypter::Encrypt(rtl::TStream& AStreamSource, rtl::TStream& AStreamDest) {
  CryptStream(AStreamSource, AStreamDest, TCryptDirection::Encrypt);
}
void TQorCrypter::Encrypt(rtl::TStream& AStream) { CryptStreamInPlace(AStream, TCryptDirection::Encrypt); }
void TQorCrypter::Encrypt(rtl::StringView AFileNameSource, rtl::StringView AFileNameDest) {
  CryptFile(AFileNameSource, AFileNameDest, TCryptDirection::Encrypt);
}
void TQorCrypter::Encrypt(rtl::StringView AFileName) { CryptFileInPlace(AFileName, TCryptDirection::Encrypt); }

void TQorCrypter::Decrypt(rtl::TStream& AStreamSource, rtl::TStream& AStreamDest) {
  CryptStream(AStreamSource, AStreamDest, TCryptDirection::Decrypt);
}
void TQorCrypter::Decrypt(rtl::TStream& AStream) { CryptStreamInPlace(AStream, TCryptDirection::Decrypt); }
void TQorCrypter::Decrypt(rtl::StringView AFileNameSource, rtl::StringView AFileNameDest) {
  CryptFile(AFileNameSource, AFileNameDest, TCryptDirection::Decrypt);
}
void TQorCrypter::Decrypt(rtl::StringView AFileName) { CryptFileInPlace(AFileName, TCryptDirection::Decrypt); }

std::unique_ptr<TQorCipher> TQorCrypter::CreateCipher() const { return GetCipherClass().Create(); }

std::unique_ptr<TQorCipher> TQorCrypter::CreateKeyedCipher() const {
  std::unique_ptr<TQorCipher> cipher = CreateCipher();
  // 64 bits, so that no huge byte count wraps into a valid bit count.
  cipher->Init(FKey.data(), static_cast<std::uint64_t>(FSizeInBytes) * 8);
  return cipher;
}

void TQorCrypter::CryptStream(rtl::TStream& ASource, rtl::TStream& ADest, TCryptDirection ADirection) {
  // One stream as both ends would overwrite bytes before they are read.
  if (&ASource == &ADest) return CryptStreamInPlace(ASource, ADirection);
  std::unique_ptr<TQorCipher> cipher = CreateKeyedCipher();
  CryptStreamWith(*cipher, ASource, ADest, ADirection);
}

void TQorCrypter::CryptStreamWith(TQorCipher& ACipher, rtl::TStream& ASource, rtl::TStream& ADest,
                                  TCryptDirection ADirection) {
  const std::size_t block = ACipher.BlockSize();
  std::uint8_t buffer[kChunkSize];
  TWipeOnExit wipeBuffer(buffer, sizeof buffer);
  // A plain memory stream is transformed from its own bytes into the buffer: one
  // copy less, which is several per cent of the decryption's time.
  rtl::TMemoryStream* memorySource =
      typeid(ASource) == typeid(rtl::TMemoryStream) ? static_cast<rtl::TMemoryStream*>(&ASource) : nullptr;
  ASource.SetPosition(0);
  const std::int64_t total = ASource.Size();
  std::int64_t remaining = total;
  while (remaining > 0) {
    const std::size_t count = static_cast<std::size_t>(std::min<std::int64_t>(remaining, kChunkSize));
    const std::uint8_t* in = buffer;
    if (memorySource) {
      in = memorySource->Memory() + memorySource->Position();
      memorySource->Seek(static_cast<std::int64_t>(count), rtl::TSeekOrigin::soCurrent);
    } else {
      ASource.ReadBuffer(buffer, static_cast<std::int64_t>(count));
    }
    const std::size_t full = count - count % block;
    if (ADirection == TCryptDirection::Encrypt)
      ACipher.EncryptCBC(in, buffer, full);
    else
      ACipher.DecryptCBC(in, buffer, full);
    // Only the last chunk can end in a partial block.
    if (full < count) ACipher.CryptTail(in + full, buffer + full, count - full);
    ADest.WriteBuffer(buffer, static_cast<std::int64_t>(count));
    remaining -= static_cast<std::int64_t>(count);
    if (FOnProgress) FOnProgress(total - remaining, total);
  }
  ACipher.Burn();
}

void TQorCrypter::CryptStreamInPlace(rtl::TStream& AStream, TCryptDirection ADirection) {
  std::unique_ptr<TQorCipher> cipher = CreateKeyedCipher();
  CryptStreamInPlaceWith(*cipher, AStream, ADirection);
}

void TQorCrypter::CryptStreamInPlaceWith(TQorCipher& ACipher, rtl::TStream& AStream, TCryptDirection ADirection) {
  rtl::TMemoryStream memory;
  memory.SetCapacity(AStream.Size());
  struct TWipeMemory {
    rtl::TMemoryStream& Stream;
    ~TWipeMemory() { SecureZero(Stream.Memory(), static_cast<std::size_t>(Stream.Size())); }
  } wipeMemory{memory};
  CryptStreamWith(ACipher, AStream, memory, ADirection);
  AStream.SetPosition(0);
  AStream.WriteBuffer(memory.Memory(), memory.Size());
}

void TQorCrypter::CryptFile(rtl::StringView ASource, rtl::StringView ADest, TCryptDirection ADirection) {
  platform::TFileService& files = platform::Platform().Files();
  if (!files.FileExists(ASource)) return;
  // The key first: an invalid one must leave the destination as it was.
  std::unique_ptr<TQorCipher> cipher = CreateKeyedCipher();
  auto source = std::make_unique<platform::TFileStream>(ASource, platform::TFileStreamMode::OpenRead);
  // The result goes to a new file next to the destination and replaces it by a
  // rename: after a failure the destination holds its old content, never a part
  // of the new one, and a source that is the destination is read whole first.
  TTempFile temp;
  try {
    temp = CreateTempFile(ADest);
  } catch (const rtl::EFCreateError&) {
    if (!files.FileExists(ADest)) throw;
    // The destination's folder takes no new file, but the destination itself may
    // be writable: then it is rewritten where it is, which a failure halfway
    // cannot undo.
    return CryptFileOver(*cipher, std::move(source), ASource, ADest, ADirection);
  }
  try {
    CryptStreamWith(*cipher, *source, *temp.Stream, ADirection);
    source.reset();  // a file still open cannot be renamed over on Windows
    FlushOrRaise(*temp.Stream, ADest);
    temp.Stream.reset();
    if (!files.Replace(temp.Name, ADest)) throw rtl::EFCreateError(CannotCreate(ADest) + SysErrorText(files));
  } catch (...) {
    temp.Stream.reset();
    files.Delete(temp.Name);
    throw;
  }
}

void TQorCrypter::CryptFileOver(TQorCipher& ACipher, std::unique_ptr<platform::TFileStream> ASourceStream,
                                rtl::StringView ASource, rtl::StringView ADest, TCryptDirection ADirection) {
  if (ASource == ADest) {
    ASourceStream.reset();
    platform::TFileStream file(ADest, platform::TFileStreamMode::OpenReadWrite, true);
    CryptStreamInPlaceWith(ACipher, file, ADirection);  // read whole before the first write
    return FlushOrRaise(file, ADest);
  }
  // Exclusive: the same file under another name, open as the source, is refused
  // before it is truncated.
  platform::TFileStream dest(ADest, platform::TFileStreamMode::Create, true);
  CryptStreamWith(ACipher, *ASourceStream, dest, ADirection);
  FlushOrRaise(dest, ADest);
}

void TQorCrypter::CryptFileInPlace(rtl::StringView AFileName, TCryptDirection ADirection) {
  CryptFile(AFileName, AFileName, ADirection);
}

rtl::String CrypterTempFileName(rtl::StringView AFileName, std::uint32_t ATick) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, ATick).ptr;
  rtl::String suffix = u"_";
  for (const char* p = digits; p != end; ++p) suffix += static_cast<char16_t>(*p);

  const std::size_t separator = AFileName.find_last_of(u"\\/");
  const std::size_t nameStart = separator == rtl::StringView::npos ? 0 : separator + 1;
  const std::size_t dot = AFileName.find(u'.', nameStart);
  if (dot == rtl::StringView::npos) return rtl::String(AFileName) + suffix;
  return rtl::String(AFileName.substr(0, dot)) + suffix + rtl::String(AFileName.substr(dot));
}

// ---------------------------------------------------------------------------
// TQorCrypterBlowFish

const TQorCipherClass& TQorCrypterBlowFish::CipherClass() { return BlowfishCipherClass(); }

const TQorCrypterClass& TQorCrypterBlowFish::ClassType() {
  static constexpr TQorCrypterClassOf<TQorCrypterBlowFish> crypterClass{u"TQorCrypterBlowFish"};
  return crypterClass;
}

// ---------------------------------------------------------------------------
// Module

namespace {
void Initialization() {
  CryptEngine = nullptr;
  CryptEngine = rtl::IPtr<IQorCryptEngine>(rtl::Create<TQorCryptEngine>());
  CryptEngine->RegisterCrypter(TQorCrypterBlowFish::ClassType());
}
}  // namespace

const startup::TModule& CoreCryptModule() {
  static constexpr startup::TModule module{u"qor7420_core_crypt", &Initialization, nullptr};
  return module;
}

}  // namespace qor
