#include "rtl/streams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <vector>

namespace qor::rtl {
namespace {

TEST(MemoryStream, WriteReadSeekAndSize) {
  TMemoryStream s;
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.Write("hello", 5), 5);
  EXPECT_EQ(s.Position(), 5);
  EXPECT_EQ(s.Size(), 5);
  EXPECT_EQ(s.Seek(1, TSeekOrigin::soBeginning), 1);
  s.WriteBuffer("EL", 2);
  EXPECT_EQ(s.Size(), 5);
  EXPECT_EQ(s.Seek(-1, TSeekOrigin::soEnd), 4);
  EXPECT_EQ(s.Seek(-1, TSeekOrigin::soCurrent), 3);
  s.SetPosition(0);
  char buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 5);  // short read at the end
  EXPECT_EQ(std::string(buf, 5), "hELlo");
  EXPECT_EQ(s.Read(buf, 8), 0);
  EXPECT_EQ(std::memcmp(s.Memory(), "hELlo", 5), 0);
  EXPECT_THROW(s.Seek(-6, TSeekOrigin::soEnd), EStreamError);
  EXPECT_EQ(s.Position(), 5);
}

TEST(MemoryStream, WritingPastTheEndFillsTheGapWithZeros) {
  TMemoryStream s;
  s.WriteBuffer("abcdef", 6);
  s.SetSize(2);  // the old bytes must not reappear
  EXPECT_EQ(s.Position(), 2);
  s.Seek(4, TSeekOrigin::soBeginning);
  s.WriteBuffer("Z", 1);
  ASSERT_EQ(s.Size(), 5);
  EXPECT_EQ(std::memcmp(s.Memory(), "ab\0\0Z", 5), 0);
  s.SetSize(8);
  EXPECT_EQ(std::memcmp(s.Memory() + 5, "\0\0\0", 3), 0);
  EXPECT_EQ(s.Position(), 5);
  EXPECT_THROW(s.SetSize(-1), EStreamError);
}

TEST(MemoryStream, ReadBufferRaisesWhenShortAndCapacityDoesNotChangeSize) {
  TMemoryStream s;
  s.SetCapacity(100);
  EXPECT_EQ(s.Size(), 0);
  s.WriteBuffer("abc", 3);
  s.SetPosition(1);
  char buf[4];
  try {
    s.ReadBuffer(buf, 3);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), u"Stream read error");
  }
  s.SetPosition(0);
  s.ReadBuffer(buf, 3);
  EXPECT_EQ(std::string(buf, 3), "abc");
  s.ReadBuffer(buf, 0);
  s.Clear();
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.Position(), 0);
}

TEST(MemoryStream, CopyFromWholeOrPart) {
  TMemoryStream src;
  std::vector<std::uint8_t> data(200000);
  std::iota(data.begin(), data.end(), std::uint8_t{0});
  src.WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
  TMemoryStream dst;
  EXPECT_EQ(dst.CopyFrom(src, 0), 200000);  // 0 copies everything from the start
  ASSERT_EQ(dst.Size(), 200000);
  EXPECT_EQ(std::memcmp(dst.Memory(), data.data(), data.size()), 0);
  src.SetPosition(10);
  TMemoryStream part;
  EXPECT_EQ(part.CopyFrom(src, 5), 5);
  EXPECT_EQ(part.Memory()[0], 10);
  src.SetPosition(199998);
  EXPECT_THROW(part.CopyFrom(src, 5), EReadError);
}

// A stream that moves at most one byte per call and refuses to write.
class TTrickleStream : public TStream {
 public:
  std::int64_t Read(void* buffer, std::int64_t count) override {
    if (count <= 0 || FLeft == 0) return 0;
    *static_cast<char*>(buffer) = 'x';
    --FLeft;
    return 1;
  }
  std::int64_t Write(const void*, std::int64_t) override { return 0; }
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override {
    if (origin == TSeekOrigin::soEnd) return FPos = 3 + offset;
    if (origin == TSeekOrigin::soBeginning) return FPos = offset;
    return FPos += offset;
  }
  void SetSize(std::int64_t) override {}
  int FLeft = 3;
  std::int64_t FPos = 0;
};

TEST(Stream, ShortTransfersAreRetriedAndFailuresRaise) {
  TTrickleStream t;
  char buf[3];
  t.ReadBuffer(buf, 3);
  EXPECT_EQ(std::string(buf, 3), "xxx");
  EXPECT_THROW(t.ReadBuffer(buf, 1), EReadError);
  try {
    t.WriteBuffer("a", 1);
    FAIL();
  } catch (const EWriteError& e) {
    EXPECT_EQ(e.Message(), u"Stream write error");
  }
  t.Seek(1, TSeekOrigin::soBeginning);
  EXPECT_EQ(t.Size(), 3);  // the default Size seeks to the end and back
  EXPECT_EQ(t.Position(), 1);
}

}  // namespace
}  // namespace qor::rtl
