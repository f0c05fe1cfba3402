#include "platform/file_stream.h"

#include "rtl/format.h"

namespace qor::platform {

namespace {
struct TOpenArgs {
  TFileAccess Access;
  TFileCreation Creation;
  bool Creates;
};

TOpenArgs ArgsOf(TFileStreamMode mode) {
  switch (mode) {
    case TFileStreamMode::Create:
      return {TFileAccess::ReadWrite, TFileCreation::CreateAlways, true};
    case TFileStreamMode::CreateNew:
      return {TFileAccess::ReadWrite, TFileCreation::CreateNew, true};
    case TFileStreamMode::OpenRead:
      return {TFileAccess::Read, TFileCreation::OpenExisting, false};
    case TFileStreamMode::OpenWrite:
      return {TFileAccess::Write, TFileCreation::OpenExisting, false};
    case TFileStreamMode::OpenReadWrite:
      break;
  }
  return {TFileAccess::ReadWrite, TFileCreation::OpenExisting, false};
}

TFileSeek SeekOf(rtl::TSeekOrigin origin) {
  switch (origin) {
    case rtl::TSeekOrigin::soBeginning:
      return TFileSeek::Begin;
    case rtl::TSeekOrigin::soCurrent:
      return TFileSeek::Current;
    case rtl::TSeekOrigin::soEnd:
      break;
  }
  return TFileSeek::End;
}
}  // namespace

TFileStream::TFileStream(rtl::StringView fileName, TFileStreamMode mode, bool exclusive)
    : FFiles(Platform().Files()), FFileName(fileName) {
  const TOpenArgs args = ArgsOf(mode);
  TSysError error = 0;
  FHandle = FFiles.OpenFile(FFileName, args.Access, args.Creation, exclusive, error);
  if (FHandle == kNoHandle) {
    const rtl::String text = FFiles.SysErrorMessage(error);
    if (args.Creates) throw rtl::EFCreateError(rtl::Format(u"Cannot create file \"%s\". %s", {FFileName, text}));
    throw rtl::EFOpenError(rtl::Format(u"Cannot open file \"%s\". %s", {FFileName, text}));
  }
}

TFileStream::~TFileStream() {
  if (FHandle != kNoHandle) FFiles.CloseFile(FHandle);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  const std::int64_t n = FFiles.Read(FHandle, buffer, count);
  return n < 0 ? 0 : n;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  const std::int64_t n = FFiles.Write(FHandle, buffer, count);
  return n < 0 ? 0 : n;
}

std::int64_t TFileStream::Seek(std::int64_t offset, rtl::TSeekOrigin origin) {
  return FFiles.Seek(FHandle, offset, SeekOf(origin));
}

std::int64_t TFileStream::Size() {
  const std::int64_t position = FFiles.Seek(FHandle, 0, TFileSeek::Current);
  const std::int64_t size = FFiles.Seek(FHandle, 0, TFileSeek::End);
  FFiles.Seek(FHandle, position, TFileSeek::Begin);
  return size;
}

void TFileStream::SetSize(std::int64_t size) {
  const std::int64_t position = FFiles.Seek(FHandle, 0, TFileSeek::Current);
  if (size < 0 || !FFiles.SetSize(FHandle, size)) throw rtl::EStreamError(u"Stream size error");
  // The position stays where it was unless it now lies past the end.
  FFiles.Seek(FHandle, position > size ? size : position, TFileSeek::Begin);
}

bool TFileStream::FlushBuffers() { return FFiles.Flush(FHandle); }

}  // namespace qor::platform
