#pragma once
// The libpng and libjpeg decoders behind SystemPictureDecoder() where the build has
// those libraries. Both return false on any fault and never end the process.
#include <cstdint>
#include <span>

#include "forms/picture.h"

namespace qor::forms {

// Pictures larger than this many pixels are refused before anything is allocated.
inline constexpr std::uint64_t kMaxPicturePixels = 64ull * 1024 * 1024;

bool IsPngData(std::span<const std::uint8_t> data);
bool IsJpegData(std::span<const std::uint8_t> data);
bool DecodePng(std::span<const std::uint8_t> data, TBitmapData& out);
bool DecodeJpeg(std::span<const std::uint8_t> data, TBitmapData& out);

}  // namespace qor::forms
