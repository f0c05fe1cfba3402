#pragma once
// A fuzzer's bytes read from the front as typed values; past the end every value
// is zero, so any input gives a complete set.
#include <cstddef>
#include <cstdint>
#include <span>

#include "rtl/strings.h"

class TFuzzInput {
 public:
  TFuzzInput(const std::uint8_t* data, std::size_t size) : FData(data, size) {}

  std::uint8_t Byte() { return FPos < FData.size() ? FData[FPos++] : 0; }
  std::uint64_t U64() {
    std::uint64_t v = 0;
    for (int k = 0; k < 8; ++k) v = v << 8 | Byte();
    return v;
  }
  // The bytes left, at most max of them.
  std::span<const std::uint8_t> Take(std::size_t max) {
    const std::size_t n = FData.size() - FPos < max ? FData.size() - FPos : max;
    const std::span<const std::uint8_t> out = FData.subspan(FPos, n);
    FPos += n;
    return out;
  }
  // One character per byte (Latin-1): quotes, blanks and letters stay one mutation away.
  qor::rtl::String Latin1(std::size_t max) {
    qor::rtl::String out;
    for (std::uint8_t c : Take(max)) out.push_back(c);
    return out;
  }

 private:
  std::span<const std::uint8_t> FData;
  std::size_t FPos = 0;
};
