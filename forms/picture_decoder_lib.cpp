// The decoder of builds with libpng and libjpeg: the format is told by its signature.
#include "forms/picture_codecs.h"

namespace qor::forms {

namespace {
class TLibDecoder final : public IPictureDecoder {
 public:
  bool Decode(std::span<const std::uint8_t> data, TBitmapData& out) const override {
    if (IsPngData(data)) return DecodePng(data, out);
    if (IsJpegData(data)) return DecodeJpeg(data, out);
    out = TBitmapData{};
    return false;
  }
};
}  // namespace

const IPictureDecoder& SystemPictureDecoder() {
  static const TLibDecoder decoder;
  return decoder;
}

}  // namespace qor::forms
