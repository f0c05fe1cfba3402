// PNG through libpng's simplified reader, which keeps its error recovery inside
// the library: a corrupt or truncated file comes back as a failure.
#include <png.h>

#include <cstring>

#include "forms/picture_codecs.h"

namespace qor::forms {

bool IsPngData(std::span<const std::uint8_t> data) {
  static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return data.size() >= 8 && std::memcmp(data.data(), kSignature, 8) == 0;
}

bool DecodePng(std::span<const std::uint8_t> data, TBitmapData& out) {
  out = TBitmapData{};
  if (!IsPngData(data)) return false;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data.data(), data.size())) return false;
  if (image.width == 0 || image.height == 0 ||
      std::uint64_t{image.width} * image.height > kMaxPicturePixels) {
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_RGBA;  // 8 bits per channel, straight alpha, sRGB
  std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  TBitmapData result;
  result.Width = static_cast<int>(image.width);
  result.Height = static_cast<int>(image.height);
  result.Pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  const std::uint8_t* p = rgba.data();
  for (std::uint32_t& px : result.Pixels) {
    px = PremultiplyPixel(p[0], p[1], p[2], p[3]);
    p += 4;
  }
  png_image_free(&image);
  out = std::move(result);
  return true;
}

}  // namespace qor::forms
