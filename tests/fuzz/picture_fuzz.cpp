// libFuzzer target: PNG and JPEG through the picture's own loading. Any bytes give
// either an empty picture or one within the size limit whose pixels are properly
// premultiplied; a file that declares more pixels than the limit is refused.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "forms/picture.h"
#include "forms/picture_codecs.h"

using namespace qor;

namespace {

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

std::uint32_t BigEndian16(const std::uint8_t* p) { return std::uint32_t{p[0]} << 8 | p[1]; }

// Width times height from the PNG header; 0 when there is none.
std::uint64_t DeclaredPngPixels(std::span<const std::uint8_t> d) {
  if (!forms::IsPngData(d) || d.size() < 24 || std::memcmp(d.data() + 12, "IHDR", 4) != 0) return 0;
  return std::uint64_t{BigEndian32(d.data() + 16)} * BigEndian32(d.data() + 20);
}

// Width times height from the frame header that follows the markers before it, read
// the way the decoder reads them; 0 when the walk finds none.
std::uint64_t DeclaredJpegPixels(std::span<const std::uint8_t> d) {
  if (!forms::IsJpegData(d)) return 0;
  std::size_t i = 2;
  while (i + 1 < d.size()) {
    if (d[i] != 0xFF) return 0;
    while (i + 1 < d.size() && d[i + 1] == 0xFF) ++i;  // fill bytes
    if (i + 3 >= d.size()) return 0;
    const std::uint8_t marker = d[i + 1];
    if (marker == 0xDA || marker == 0xD9 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) return 0;
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) return i + 9 <= d.size() ? std::uint64_t{BigEndian16(&d[i + 5])} * BigEndian16(&d[i + 7]) : 0;
    i += 2 + BigEndian16(&d[i + 2]);
  }
  return 0;
}

bool PremultipliedProperly(std::uint32_t px) {
  const std::uint32_t a = px >> 24;
  return ((px >> 16) & 0xFF) <= a && ((px >> 8) & 0xFF) <= a && (px & 0xFF) <= a;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  forms::TPicture picture;
  const bool loaded = picture.LoadFromMemory(bytes);
  if (loaded == picture.Empty()) std::abort();

  if (loaded) {
    const forms::TBitmapData& d = picture.Data();
    const std::uint64_t pixels = std::uint64_t(d.Width) * std::uint64_t(d.Height);
    if (d.Width <= 0 || d.Height <= 0 || pixels > forms::kMaxPicturePixels || d.Pixels.size() != pixels) std::abort();
    for (std::uint32_t px : d.Pixels)
      if (!PremultipliedProperly(px)) std::abort();
  }

  if (loaded && std::max(DeclaredPngPixels(bytes), DeclaredJpegPixels(bytes)) > forms::kMaxPicturePixels)
    std::abort();

  // A failed decode leaves the output empty, whatever it held.
  forms::TBitmapData out{3, 1, {0, 0, 0}};
  if (!forms::SystemPictureDecoder().Decode(bytes, out) && (out.Width || out.Height || !out.Pixels.empty()))
    std::abort();
  return 0;
}
