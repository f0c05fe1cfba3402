#pragma once
// A byte stream on a file of the installed platform.
#include <cstdint>

#include "platform/platform.h"
#include "rtl/streams.h"

namespace qor::platform {

enum class TFileStreamMode {
  Create,     // create or truncate; read and write
  CreateNew,  // create; fail when the name exists; read and write
  OpenRead,
  OpenWrite,
  OpenReadWrite,  // no truncation
};

class TFileStream : public rtl::TStream {
 public:
  // exclusive: no other opener while the stream lives (share mode 0). Failures raise
  // EFCreateError "Cannot create file "%s". %s" (the create modes) or EFOpenError
  // "Cannot open file "%s". %s" with the name and the system's error text.
  TFileStream(rtl::StringView fileName, TFileStreamMode mode, bool exclusive = false);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, rtl::TSeekOrigin origin) override;
  std::int64_t Size() override;
  // Raises EStreamError "Stream size error" when the size cannot be set.
  void SetSize(std::int64_t size) override;
  // Buffers to the disk; false when the system refused.
  bool FlushBuffers();

  const rtl::String& FileName() const { return FFileName; }

 private:
  TFileService& FFiles;
  rtl::String FFileName;
  THandle FHandle = kNoHandle;
};

}  // namespace qor::platform
