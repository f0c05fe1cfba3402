// The decoder of builds without picture libraries: every picture stays empty
// until the build supplies a decoder of its own.
#include "forms/picture.h"

namespace qor::forms {

namespace {
class TNoDecoder final : public IPictureDecoder {
 public:
  bool Decode(std::span<const std::uint8_t>, TBitmapData& out) const override {
    out = TBitmapData{};
    return false;
  }
};
}  // namespace

const IPictureDecoder& SystemPictureDecoder() {
  static const TNoDecoder decoder;
  return decoder;
}

}  // namespace qor::forms
