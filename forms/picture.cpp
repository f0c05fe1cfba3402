#include "forms/picture.h"

#include <limits>

#include "platform/file_stream.h"

namespace qor::forms {

namespace {
// Larger files are not pictures we make or ship; refusing them keeps a bad file
// from exhausting memory.
constexpr std::int64_t kMaxPictureFile = 256 * 1024 * 1024;
}  // namespace

TPicture& TPicture::operator=(const TPicture& o) {
  if (this != &o) {
    FData = o.FData;
    Changed();
  }
  return *this;
}

void TPicture::Changed() {
  ++FGeneration;
  if (OnChange) OnChange();
}

void TPicture::Assign(TBitmapData data) {
  bool valid = data.Width > 0 && data.Height > 0 &&
               data.Pixels.size() == static_cast<std::size_t>(data.Width) * static_cast<std::size_t>(data.Height);
  FData = valid ? std::move(data) : TBitmapData{};
  Changed();
}

void TPicture::Clear() {
  FData = TBitmapData{};
  Changed();
}

bool TPicture::LoadFromMemory(std::span<const std::uint8_t> data) {
  return LoadFromMemory(data, SystemPictureDecoder());
}

bool TPicture::LoadFromMemory(std::span<const std::uint8_t> data, const IPictureDecoder& decoder) {
  TBitmapData decoded;
  bool ok = false;
  try {
    ok = decoder.Decode(data, decoded);
  } catch (...) {
    ok = false;
  }
  if (!ok) decoded = TBitmapData{};
  Assign(std::move(decoded));
  return !Empty();
}

bool TPicture::LoadFromFile(rtl::StringView fileName) {
  std::vector<std::uint8_t> bytes;
  try {
    platform::TFileStream stream(fileName, platform::TFileStreamMode::OpenRead);
    std::int64_t size = stream.Size();
    if (size <= 0 || size > kMaxPictureFile) {
      Clear();
      return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    std::int64_t got = 0;
    while (got < size) {
      std::int64_t n = stream.Read(bytes.data() + got, size - got);
      if (n <= 0) break;
      got += n;
    }
    bytes.resize(static_cast<std::size_t>(got));
  } catch (...) {
    // Missing or unreadable: an empty picture, as for a missing file.
    Clear();
    return false;
  }
  return LoadFromMemory(bytes);
}

}  // namespace qor::forms
