// Picture decoding: PNG alpha kept and premultiplied, JPEG colours, and every kind
// of bad data leaving the picture empty with the process running.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "forms/picture.h"
#include "picture_fixtures.h"
#include "platform/fake/fake_platform.h"

namespace qor::forms {
namespace {

using fixtures::kJpeg16x8;
using fixtures::kPng2x2;

std::span<const std::uint8_t> Prefix(std::span<const std::uint8_t> data, std::size_t n) { return data.first(n); }

std::vector<std::uint8_t> Copy(std::span<const std::uint8_t> data) { return {data.begin(), data.end()}; }

#if NOL_FORMS_DECODES_PICTURES
#define REQUIRE_DECODER()
#else
#define REQUIRE_DECODER() GTEST_SKIP() << "this build decodes no pictures"
#endif

int Channel(std::uint32_t px, int shift) { return static_cast<int>((px >> shift) & 0xFF); }

TEST(Picture, PngKeepsAlphaPremultiplied) {
  REQUIRE_DECODER();
  TPicture p;
  ASSERT_TRUE(p.LoadFromMemory(kPng2x2));
  ASSERT_EQ(p.Width(), 2);
  ASSERT_EQ(p.Height(), 2);
  const std::uint32_t* px = p.Pixels();
  EXPECT_EQ(px[0], 0xFFFF0000u);  // opaque red
  EXPECT_EQ(px[1], 0x80008000u);  // green at alpha 128: 255 * 128 / 255
  EXPECT_EQ(px[2], 0x00000000u);  // fully transparent blue is all zero
  EXPECT_EQ(px[3], 0x40404040u);  // white at alpha 64
}

TEST(Picture, JpegDecodesOpaqueRgb) {
  REQUIRE_DECODER();
  TPicture p;
  ASSERT_TRUE(p.LoadFromMemory(kJpeg16x8));
  ASSERT_EQ(p.Width(), 16);
  ASSERT_EQ(p.Height(), 8);
  std::uint32_t top = p.Pixels()[0], bottom = p.Pixels()[7 * 16];
  EXPECT_EQ(top >> 24, 0xFFu);
  EXPECT_NEAR(Channel(top, 16), 200, 4);
  EXPECT_NEAR(Channel(top, 8), 30, 4);
  EXPECT_NEAR(Channel(top, 0), 60, 4);
  EXPECT_NEAR(Channel(bottom, 16), 20, 4);
  EXPECT_NEAR(Channel(bottom, 8), 90, 4);
  EXPECT_NEAR(Channel(bottom, 0), 200, 4);
}

// Each of these leaves the picture empty, including one loaded before.
TEST(Picture, BadDataLeavesThePictureEmpty) {
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> cases;
  for (std::size_t n : {0, 4, 8, 20, 33, 45, 55, 62})
    cases.emplace_back("png cut at " + std::to_string(n), Copy(Prefix(kPng2x2, n)));
  for (std::size_t n : {std::size_t{2}, std::size_t{3}, std::size_t{20}, std::size_t{100}, std::size_t{160}, std::size_t{200}, sizeof kJpeg16x8 - 2})
    cases.emplace_back("jpeg cut at " + std::to_string(n), Copy(Prefix(kJpeg16x8, n)));
  {
    auto bad = Copy(kPng2x2);
    bad[45] ^= 0xFF;  // inside the compressed data: CRC and inflate fail
    cases.emplace_back("png with a damaged data chunk", bad);
  }
  {
    auto bad = Copy(kPng2x2);
    bad[16] = 0x7F;  // width of 2^31: refused before any allocation
    cases.emplace_back("png with an absurd width", bad);
  }
  {
    // The frame header says 0 lines: libjpeg raises an error (and by default would exit).
    auto bad = Copy(kJpeg16x8);
    for (std::size_t i = 0; i + 1 < bad.size(); ++i)
      if (bad[i] == 0xFF && bad[i + 1] == 0xC0) {
        bad[i + 5] = 0;
        bad[i + 6] = 0;
        break;
      }
    cases.emplace_back("jpeg with zero height", bad);
  }
  {
    auto bad = Copy(kJpeg16x8);
    for (std::size_t i = bad.size() / 2; i < bad.size() - 2; ++i) bad[i] = 0xFF;
    cases.emplace_back("jpeg with a corrupt scan", bad);
  }
  cases.emplace_back("text", std::vector<std::uint8_t>{'h', 'e', 'l', 'l', 'o'});

  for (auto& [name, data] : cases) {
    SCOPED_TRACE(name);
    TPicture p;
    p.Assign(TBitmapData{1, 1, {0xFFFFFFFFu}});
    EXPECT_FALSE(p.LoadFromMemory(data));
    EXPECT_TRUE(p.Empty());
    EXPECT_EQ(p.Width(), 0);
  }
}

TEST(Picture, AssignRefusesPixelsThatDoNotMatchTheSize) {
  TPicture p;
  int changes = 0;
  p.OnChange = [&] { ++changes; };
  p.Assign(TBitmapData{2, 2, {1, 2, 3}});
  EXPECT_TRUE(p.Empty());
  p.Assign(TBitmapData{1, 2, {1, 2}});
  EXPECT_FALSE(p.Empty());
  TPicture copy(p);
  EXPECT_EQ(copy.Height(), 2);
  EXPECT_FALSE(copy.OnChange);  // the handler belongs to the original
  EXPECT_EQ(changes, 2);
}

TEST(Picture, LoadsFilesThroughThePlatform) {
  platform::fake::TFakePlatform fake;
  platform::TScopedPlatform scoped(fake);
  fake.Files().SetFile(u"..\\img\\p.png", std::string(reinterpret_cast<const char*>(kPng2x2), sizeof kPng2x2));
  fake.Files().SetFile(u"..\\img\\empty.jpg", std::string());
  TPicture p;
  EXPECT_EQ(p.LoadFromFile(u"..\\img\\p.png"), NOL_FORMS_DECODES_PICTURES != 0);
  EXPECT_EQ(p.Width(), NOL_FORMS_DECODES_PICTURES ? 2 : 0);
  EXPECT_FALSE(p.LoadFromFile(u"..\\img\\missing.jpg"));
  EXPECT_TRUE(p.Empty());
  EXPECT_FALSE(p.LoadFromFile(u"..\\img\\empty.jpg"));
  EXPECT_EQ(fake.Files().OpenFileCount(), 0);
}

TEST(Picture, PremultiplyRoundsToNearest) {
  EXPECT_EQ(PremultiplyPixel(255, 255, 255, 255), 0xFFFFFFFFu);
  EXPECT_EQ(PremultiplyPixel(255, 128, 1, 0), 0u);
  EXPECT_EQ(PremultiplyPixel(255, 128, 1, 128), 0x80804001u);  // 0.502 rounds up
}

}  // namespace
}  // namespace qor::forms
