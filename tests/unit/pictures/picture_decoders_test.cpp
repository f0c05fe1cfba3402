// Every build's picture decoder against the same data: libpng/libjpeg where the
// build has them, the Windows Imaging Component in the cross builds. A PNG must
// give exactly the premultiplied pixels of its straight-alpha content; a JPEG the
// pixels libjpeg gave when the fixture was recorded, within a small tolerance.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#ifdef _WIN32
#include <objbase.h>
#endif

#include "cmyk_jpeg_fixtures.h"
#include "forms/picture.h"
#include "jpeg_fixture.h"

namespace qor::forms {
namespace {

// ---- a PNG writer with stored (uncompressed) deflate blocks

std::uint32_t Crc32(const std::uint8_t* p, std::size_t n, std::uint32_t crc = 0xFFFFFFFFu) {
  for (std::size_t i = 0; i < n; ++i) {
    crc ^= p[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc;
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}

void Chunk(std::vector<std::uint8_t>& png, const char* type, const std::vector<std::uint8_t>& data) {
  Put32(png, static_cast<std::uint32_t>(data.size()));
  std::vector<std::uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  png.insert(png.end(), body.begin(), body.end());
  Put32(png, Crc32(body.data(), body.size()) ^ 0xFFFFFFFFu);
}

std::vector<std::uint8_t> Zlib(const std::vector<std::uint8_t>& raw) {
  std::vector<std::uint8_t> z = {0x78, 0x01};
  std::size_t pos = 0;
  do {
    std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
    z.push_back(pos + n == raw.size() ? 1 : 0);
    z.push_back(static_cast<std::uint8_t>(n));
    z.push_back(static_cast<std::uint8_t>(n >> 8));
    z.push_back(static_cast<std::uint8_t>(~n));
    z.push_back(static_cast<std::uint8_t>(~n >> 8));
    z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos), raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
    pos += n;
  } while (pos < raw.size());
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  Put32(z, (b << 16) | a);
  return z;
}

struct TPngImage {
  int Width = 0, Height = 0;
  int Depth = 8;
  int ColorType = 6;  // 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA
  bool Interlaced = false;
  std::vector<std::array<std::uint8_t, 3>> Palette;
  std::vector<std::uint8_t> PaletteAlpha;
  // Samples per pixel, row by row (palette: indices).
  std::vector<std::vector<int>> Samples;
};

int Channels(int colorType) {
  switch (colorType) {
    case 0: case 3: return 1;
    case 4: return 2;
    case 2: return 3;
    default: return 4;
  }
}

// One scan line of the given pixels (filter type 0, samples packed by depth).
void AppendRow(std::vector<std::uint8_t>& raw, const TPngImage& img, const std::vector<const std::vector<int>*>& px) {
  raw.push_back(0);
  if (img.Depth == 16) {
    for (const auto* p : px)
      for (int s : *p) {
        raw.push_back(static_cast<std::uint8_t>(s >> 8));
        raw.push_back(static_cast<std::uint8_t>(s));
      }
    return;
  }
  int acc = 0, bits = 0;
  for (const auto* p : px)
    for (int s : *p) {
      acc = (acc << img.Depth) | s;
      bits += img.Depth;
      if (bits == 8) {
        raw.push_back(static_cast<std::uint8_t>(acc));
        acc = bits = 0;
      }
    }
  if (bits) raw.push_back(static_cast<std::uint8_t>(acc << (8 - bits)));
}

std::vector<std::uint8_t> EncodePng(const TPngImage& img) {
  const int ch = Channels(img.ColorType);
  auto pixel = [&](int x, int y) {
    return std::vector<int>(img.Samples[static_cast<std::size_t>(y)].begin() + x * ch,
                            img.Samples[static_cast<std::size_t>(y)].begin() + (x + 1) * ch);
  };
  std::vector<std::uint8_t> raw;
  auto emit = [&](int x0, int y0, int dx, int dy) {
    for (int y = y0; y < img.Height; y += dy) {
      std::vector<std::vector<int>> row;
      for (int x = x0; x < img.Width; x += dx) row.push_back(pixel(x, y));
      if (row.empty()) continue;
      std::vector<const std::vector<int>*> ptrs;
      for (auto& p : row) ptrs.push_back(&p);
      AppendRow(raw, img, ptrs);
    }
  };
  if (img.Interlaced) {
    static constexpr int kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                          {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    for (const auto& p : kPasses) emit(p[0], p[1], p[2], p[3]);
  } else {
    emit(0, 0, 1, 1);
  }
  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> ihdr;
  Put32(ihdr, static_cast<std::uint32_t>(img.Width));
  Put32(ihdr, static_cast<std::uint32_t>(img.Height));
  ihdr.insert(ihdr.end(), {static_cast<std::uint8_t>(img.Depth), static_cast<std::uint8_t>(img.ColorType), 0, 0,
                           static_cast<std::uint8_t>(img.Interlaced ? 1 : 0)});
  Chunk(png, "IHDR", ihdr);
  if (!img.Palette.empty()) {
    std::vector<std::uint8_t> plte;
    for (const auto& c : img.Palette) plte.insert(plte.end(), c.begin(), c.end());
    Chunk(png, "PLTE", plte);
  }
  if (!img.PaletteAlpha.empty()) Chunk(png, "tRNS", img.PaletteAlpha);
  Chunk(png, "IDAT", Zlib(raw));
  Chunk(png, "IEND", {});
  return png;
}

// The straight-alpha colour a viewer shows for one pixel of an 8-bit image.
std::array<int, 4> StraightRgba(const TPngImage& img, int x, int y) {
  const int ch = Channels(img.ColorType);
  const auto& row = img.Samples[static_cast<std::size_t>(y)];
  auto s = [&](int i) { return row[static_cast<std::size_t>(x * ch + i)]; };
  const int scale = 255 / ((1 << img.Depth) - 1);  // 1, 2 and 4 bit grey widen by repetition
  switch (img.ColorType) {
    case 0: return {s(0) * scale, s(0) * scale, s(0) * scale, 255};
    case 4: return {s(0), s(0), s(0), s(1)};
    case 2: return {s(0), s(1), s(2), 255};
    case 3: {
      const auto& c = img.Palette[static_cast<std::size_t>(s(0))];
      int a = static_cast<std::size_t>(s(0)) < img.PaletteAlpha.size() ? img.PaletteAlpha[static_cast<std::size_t>(s(0))] : 255;
      return {c[0], c[1], c[2], a};
    }
    default: return {s(0), s(1), s(2), s(3)};
  }
}

// Every alpha value from 0 to 255 with colours that change in each channel.
TPngImage Image(int colorType, int depth = 8, int w = 32, int h = 8) {
  TPngImage img;
  img.Width = w;
  img.Height = h;
  img.ColorType = colorType;
  img.Depth = depth;
  const int ch = Channels(colorType);
  const int maxSample = (1 << depth) - 1;
  if (colorType == 3) {
    img.Palette = {{{255, 0, 0}}, {{0, 200, 30}}, {{10, 20, 250}}, {{255, 255, 255}}};
    img.PaletteAlpha = {255, 128, 0};  // the last entry has none: opaque
  }
  for (int y = 0; y < h; ++y) {
    std::vector<int> row;
    for (int x = 0; x < w; ++x) {
      const int i = y * w + x;
      for (int c = 0; c < ch; ++c) {
        int v = (i * (7 + 6 * c) + 40 * c) % 256;
        if (colorType == 3) v = i % 4;
        else if (c == ch - 1 && (colorType == 4 || colorType == 6)) v = i % 256;  // alpha
        if (depth < 8 && colorType != 3) v = i % (maxSample + 1);
        row.push_back(v);
      }
    }
    img.Samples.push_back(row);
  }
  return img;
}

struct TPngCase {
  const char* Name;
  TPngImage Img;
};

TEST(PictureDecoders, PngGivesExactlyThePremultipliedPixels) {
  TPngImage interlaced = Image(6, 8, 13, 11);
  interlaced.Interlaced = true;
  const std::vector<TPngCase> cases = {
      {"RGBA, every alpha", Image(6)},
      {"RGB", Image(2)},
      {"grey", Image(0)},
      {"grey and alpha", Image(4)},
      {"palette with transparency", Image(3)},
      {"2-bit palette", Image(3, 2)},
      {"4-bit grey", Image(0, 4)},
      {"interlaced RGBA, odd size", interlaced},
  };
  for (const TPngCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TPicture p;
    ASSERT_TRUE(p.LoadFromMemory(EncodePng(c.Img)));
    ASSERT_EQ(p.Width(), c.Img.Width);
    ASSERT_EQ(p.Height(), c.Img.Height);
    int wrong = 0;
    for (int y = 0; y < c.Img.Height; ++y)
      for (int x = 0; x < c.Img.Width; ++x) {
        auto [r, g, b, a] = StraightRgba(c.Img, x, y);
        const std::uint32_t want = PremultiplyPixel(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                                    static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(a));
        const std::uint32_t got = p.Pixels()[y * c.Img.Width + x];
        if (got != want && wrong++ < 3)
          ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << got << " instead of " << want;
      }
    EXPECT_EQ(wrong, 0);
  }
}

TEST(PictureDecoders, JpegMatchesTheRecordedPixels) {
  using namespace fixtures;
  constexpr int W = kJpegFixtureWidth, H = kJpegFixtureHeight;
  TPicture p;
  ASSERT_TRUE(p.LoadFromMemory(kJpegFixture));
  ASSERT_EQ(p.Width(), W);
  ASSERT_EQ(p.Height(), H);
  auto got = [&](int x, int y, int c) { return static_cast<int>((p.Pixels()[y * W + x] >> (16 - 8 * c)) & 0xFF); };
  auto want = [&](int x, int y, int c) { return static_cast<int>(kJpegFixtureRgb[(y * W + x) * 3 + c]); };
  long total = 0;
  int over8 = 0, maxDiff = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      EXPECT_EQ(p.Pixels()[y * W + x] >> 24, 0xFFu);
      for (int c = 0; c < 3; ++c) {
        const int d = std::abs(got(x, y, c) - want(x, y, c));
        total += d;
        over8 += d > 8;
        maxDiff = std::max(maxDiff, d);
      }
    }
  // Decoders differ in their inverse transforms and above all in how they widen
  // the halved colour planes, which shows at sharp colour edges only. Swapped
  // channels, a missed colour conversion or shifted rows miss these by far.
  const int samples = W * H * 3;
  EXPECT_LE(static_cast<double>(total) / samples, 2.0);
  EXPECT_LE(over8, samples / 50);
  // What one sees at a glance: the mean of every 8 x 8 block.
  for (int by = 0; by < H; by += 8)
    for (int bx = 0; bx < W; bx += 8)
      for (int c = 0; c < 3; ++c) {
        int sg = 0, sw = 0;
        for (int y = by; y < by + 8; ++y)
          for (int x = bx; x < bx + 8; ++x) {
            sg += got(x, y, c);
            sw += want(x, y, c);
          }
        EXPECT_LE(std::abs(sg - sw), 4 * 64) << "block " << bx << "," << by << " channel " << c;
      }
  RecordProperty("max_difference", maxDiff);
}

// Print artwork: CMYK and YCCK, baseline and progressive, with Adobe's inverted
// inks or without. Every pixel of a quadrant has its colour, within a tolerance.
TEST(PictureDecoders, CmykJpegGivesTheInksColours) {
  using namespace fixtures;
  struct TCase {
    const char* Name;
    std::span<const std::uint8_t> Data;
  };
  const TCase cases[] = {
      {"CMYK, Adobe", kCmykAdobeJpeg},
      {"YCCK, progressive, Adobe", kYcckProgressiveJpeg},
      {"CMYK, no Adobe marker", kCmykPlainJpeg},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TPicture p;
    ASSERT_TRUE(p.LoadFromMemory(c.Data));
    ASSERT_EQ(p.Width(), 16);
    ASSERT_EQ(p.Height(), 16);
    int wrong = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const std::uint32_t want = 0xFF000000u | kCmykFixtureColours[(y / 8) * 2 + x / 8];
        const std::uint32_t got = p.Pixels()[y * 16 + x];
        auto channel = [](std::uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); };
        bool within = true;
        for (int shift = 0; shift < 32; shift += 8)
          within = within && std::abs(channel(got, shift) - channel(want, shift)) <= 6;
        if (!within && wrong++ < 3)
          ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << got << " instead of " << want;
      }
    EXPECT_EQ(wrong, 0);
  }
}

#ifdef _WIN32
// The launcher's UI thread is in a single-threaded apartment for the shell; a
// decode nests its own entry inside it and leaves it as it was.
TEST(PictureDecoders, DecodeKeepsTheThreadsApartment) {
  auto apartmentRefusesMultithreaded = [] {
    const HRESULT r = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(r)) ::CoUninitialize();
    return r == RPC_E_CHANGED_MODE;
  };
  ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE), S_OK);
  TPicture p;
  EXPECT_TRUE(p.LoadFromMemory(fixtures::kJpegFixture));
  EXPECT_TRUE(p.LoadFromMemory(fixtures::kCmykAdobeJpeg));
  EXPECT_TRUE(apartmentRefusesMultithreaded());
  ::CoUninitialize();
  EXPECT_FALSE(apartmentRefusesMultithreaded()) << "a decode left an entry of its own behind";
}
#endif

}  // namespace
}  // namespace qor::forms
