#pragma once
// Decoded pictures: 32-bit premultiplied ARGB pixels (0xAARRGGBB in a uint32, rows
// top-down, no padding), the layout cairo's ARGB32 and a Windows BGRA DIB share.
// A file or buffer that cannot be decoded leaves the picture empty: the same as a
// missing picture, never an error.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "rtl/strings.h"

namespace qor::forms {

struct TBitmapData {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;  // Width * Height, premultiplied
};

// Decodes a whole encoded file held in memory. The build picks the implementation
// (libpng/libjpeg where they exist; elsewhere another backend). Must never end
// the process or throw for bad data: it returns false and leaves out empty.
class IPictureDecoder {
 public:
  virtual ~IPictureDecoder() = default;
  virtual bool Decode(std::span<const std::uint8_t> data, TBitmapData& out) const = 0;
};
// The decoder the build selected.
const IPictureDecoder& SystemPictureDecoder();

class TPicture {
 public:
  TPicture() = default;
  // Copies the pixels, not the change handler.
  TPicture(const TPicture& o) : FData(o.FData), FGeneration(o.FGeneration) {}
  TPicture& operator=(const TPicture& o);
  bool Empty() const { return FData.Width <= 0 || FData.Height <= 0; }
  int Width() const { return FData.Width; }
  int Height() const { return FData.Height; }
  const std::uint32_t* Pixels() const { return FData.Pixels.data(); }
  const TBitmapData& Data() const { return FData; }

  // Each returns whether a picture was decoded; on failure the picture is empty.
  bool LoadFromMemory(std::span<const std::uint8_t> data);
  bool LoadFromMemory(std::span<const std::uint8_t> data, const IPictureDecoder& decoder);
  // A Windows or POSIX path; "\" separators work on every platform.
  bool LoadFromFile(rtl::StringView fileName);
  // Takes decoded pixels; a size that does not match the pixel count empties the picture.
  void Assign(TBitmapData data);
  void Clear();

  // Reported after every load, assignment or clear (the image control re-sizes).
  std::function<void()> OnChange;

  // Identity for backends that cache a converted copy (changes on every load).
  std::uint64_t Generation() const { return FGeneration; }

 private:
  void Changed();
  TBitmapData FData;
  std::uint64_t FGeneration = 0;
};

// Premultiplies one straight-alpha pixel.
constexpr std::uint32_t PremultiplyPixel(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
  auto mul = [a](std::uint8_t c) -> std::uint32_t { return (c * a + 127) / 255; };
  return (std::uint32_t{a} << 24) | (mul(r) << 16) | (mul(g) << 8) | mul(b);
}

}  // namespace qor::forms
