// The decoder of Windows builds without libpng and libjpeg: the Windows Imaging
// Component. Only PNG and JPEG are taken, as elsewhere. WIC delivers straight
// BGRA and the alpha is premultiplied here, with the rounding the libpng decoder
// uses, so one PNG gives the same pixels from both whatever rounding a WIC
// implementation picks for its own premultiplied format.
#include <cstring>
#include <limits>

#include "forms/picture.h"
#include "forms/win32/win32_api.h"
#include <wincodec.h>

namespace qor::forms {

namespace {

// Refused before anything is allocated; matches the libraries' decoder.
constexpr std::uint64_t kMaxPixels = 64ull * 1024 * 1024;

bool IsPng(std::span<const std::uint8_t> d) {
  static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return d.size() >= 8 && std::memcmp(d.data(), kSignature, 8) == 0;
}
bool IsJpeg(std::span<const std::uint8_t> d) { return d.size() >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF; }

template <class T>
class TComRef {
 public:
  TComRef() = default;
  ~TComRef() {
    if (FPtr) FPtr->Release();
  }
  TComRef(const TComRef&) = delete;
  TComRef& operator=(const TComRef&) = delete;
  T** operator&() { return &FPtr; }
  T* operator->() const { return FPtr; }
  T* get() const { return FPtr; }

 private:
  T* FPtr = nullptr;
};

// COM for the duration of one decode, on whatever apartment the thread has.
class TComScope {
 public:
  TComScope() : FResult(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~TComScope() {
    if (SUCCEEDED(FResult)) CoUninitialize();
  }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;
  bool Usable() const { return SUCCEEDED(FResult) || FResult == RPC_E_CHANGED_MODE; }

 private:
  HRESULT FResult;
};

bool DecodeWic(std::span<const std::uint8_t> data, TBitmapData& out) {
  if (data.size() > std::numeric_limits<DWORD>::max()) return false;
  TComScope com;
  if (!com.Usable()) return false;
  {
    TComRef<IWICImagingFactory> factory;
    TComRef<IWICStream> stream;
    TComRef<IWICBitmapDecoder> decoder;
    TComRef<IWICBitmapFrameDecode> frame;
    TComRef<IWICFormatConverter> converter;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory))))
      return false;
    if (FAILED(factory->CreateStream(&stream))) return false;
    // The stream only reads the buffer.
    if (FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data.data()), static_cast<DWORD>(data.size()))))
      return false;
    if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder)))
      return false;
    if (FAILED(decoder->GetFrame(0, &frame))) return false;
    UINT w = 0, h = 0;
    if (FAILED(frame->GetSize(&w, &h)) || w == 0 || h == 0 || std::uint64_t{w} * h > kMaxPixels) return false;
    if (FAILED(factory->CreateFormatConverter(&converter))) return false;
    if (FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom)))
      return false;
    TBitmapData result;
    result.Width = static_cast<int>(w);
    result.Height = static_cast<int>(h);
    result.Pixels.resize(static_cast<std::size_t>(w) * h);
    const UINT stride = w * 4;
    const UINT bytes = static_cast<UINT>(result.Pixels.size() * 4);
    if (FAILED(converter->CopyPixels(nullptr, stride, bytes, reinterpret_cast<BYTE*>(result.Pixels.data()))))
      return false;
    for (std::uint32_t& px : result.Pixels)
      px = PremultiplyPixel(static_cast<std::uint8_t>(px >> 16), static_cast<std::uint8_t>(px >> 8),
                            static_cast<std::uint8_t>(px), static_cast<std::uint8_t>(px >> 24));
    out = std::move(result);
  }
  return true;
}

class TWicDecoder final : public IPictureDecoder {
 public:
  bool Decode(std::span<const std::uint8_t> data, TBitmapData& out) const override {
    out = TBitmapData{};
    if (!IsPng(data) && !IsJpeg(data)) return false;
    return DecodeWic(data, out);
  }
};

}  // namespace

const IPictureDecoder& SystemPictureDecoder() {
  static const TWicDecoder decoder;
  return decoder;
}

}  // namespace qor::forms
