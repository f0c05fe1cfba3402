#include "rtl/streams.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace qor::rtl {

std::int64_t TStream::Size() {
  const std::int64_t pos = Seek(0, TSeekOrigin::soCurrent);
  const std::int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(pos, TSeekOrigin::soBeginning);
  return size;
}

// Short transfers are retried until one moves nothing.
void TStream::ReadBuffer(void* buffer, std::int64_t count) {
  auto* p = static_cast<std::uint8_t*>(buffer);
  while (count > 0) {
    const std::int64_t n = Read(p, count);
    if (n <= 0) throw EReadError(u"Stream read error");
    p += n;
    count -= n;
  }
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
  const auto* p = static_cast<const std::uint8_t*>(buffer);
  while (count > 0) {
    const std::int64_t n = Write(p, count);
    if (n <= 0) throw EWriteError(u"Stream write error");
    p += n;
    count -= n;
  }
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
  if (count <= 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  const std::int64_t total = count;
  std::uint8_t buffer[65536];
  while (count > 0) {
    const std::int64_t n = std::min<std::int64_t>(count, sizeof buffer);
    source.ReadBuffer(buffer, n);
    WriteBuffer(buffer, n);
    count -= n;
  }
  return total;
}

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0 || FPosition >= FSize) return 0;
  const std::int64_t n = std::min(count, FSize - FPosition);
  std::memcpy(buffer, FData.data() + FPosition, static_cast<std::size_t>(n));
  FPosition += n;
  return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  if (count > std::numeric_limits<std::int64_t>::max() - FPosition) throw EWriteError(u"Stream write error");
  const std::int64_t end = FPosition + count;
  if (end > FSize) {
    if (end > static_cast<std::int64_t>(FData.size())) {
      const auto grown = static_cast<std::int64_t>(FData.size()) + static_cast<std::int64_t>(FData.size()) / 2;
      SetCapacity(std::max(end, grown));
    }
    // A gap left by seeking past the end reads as zeros.
    if (FPosition > FSize) std::memset(FData.data() + FSize, 0, static_cast<std::size_t>(FPosition - FSize));
    FSize = end;
  }
  std::memcpy(FData.data() + FPosition, buffer, static_cast<std::size_t>(count));
  FPosition = end;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  std::int64_t base = 0;
  switch (origin) {
    case TSeekOrigin::soBeginning: base = 0; break;
    case TSeekOrigin::soCurrent: base = FPosition; break;
    case TSeekOrigin::soEnd: base = FSize; break;
  }
  if ((offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset) || base + offset < 0)
    throw EStreamError(u"Stream seek error");
  FPosition = base + offset;
  return FPosition;
}

void TMemoryStream::SetCapacity(std::int64_t capacity) {
  if (capacity <= static_cast<std::int64_t>(FData.size())) return;
  try {
    if (static_cast<std::uint64_t>(capacity) > FData.max_size()) throw std::length_error("capacity");
    FData.resize(static_cast<std::size_t>(capacity));
  } catch (const std::bad_alloc&) {
    throw EStreamError(u"Out of memory while expanding memory stream");
  } catch (const std::length_error&) {
    throw EStreamError(u"Out of memory while expanding memory stream");
  }
}

void TMemoryStream::SetSize(std::int64_t size) {
  if (size < 0) throw EStreamError(u"Stream size error");
  SetCapacity(size);
  if (size > FSize) std::memset(FData.data() + FSize, 0, static_cast<std::size_t>(size - FSize));
  FSize = size;
  if (FPosition > FSize) FPosition = FSize;
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FSize = 0;
  FPosition = 0;
}

}  // namespace qor::rtl
