#pragma once
// Byte streams: the abstract TStream and the in-memory TMemoryStream.
// The file stream lives in the platform layer.
#include <cstdint>
#include <vector>

#include "rtl/exceptions.h"

namespace qor::rtl {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;
  // Return the number of bytes moved; may be short.
  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
  virtual std::int64_t Size();
  virtual void SetSize(std::int64_t size) = 0;

  std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(std::int64_t pos) { Seek(pos, TSeekOrigin::soBeginning); }
  // Raise EReadError "Stream read error" / EWriteError "Stream write error" when short.
  void ReadBuffer(void* buffer, std::int64_t count);
  void WriteBuffer(const void* buffer, std::int64_t count);
  // count 0 copies the whole source from its start.
  std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

class TMemoryStream : public TStream {
 public:
  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return FSize; }
  void SetSize(std::int64_t size) override;
  // Reserves capacity without changing the size.
  void SetCapacity(std::int64_t capacity);
  void Clear();

  std::uint8_t* Memory() { return FData.data(); }
  const std::uint8_t* Memory() const { return FData.data(); }

 private:
  std::vector<std::uint8_t> FData;  // capacity; bytes past FSize are unused
  std::int64_t FSize = 0;
  std::int64_t FPosition = 0;
};

}  // namespace qor::rtl
