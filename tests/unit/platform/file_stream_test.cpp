// TFileStream on the fake files: modes, exclusivity, the error texts, seek and size.
#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "platform/file_stream.h"

namespace qor::platform {
namespace {

class FileStreamOnFake : public ::testing::Test {
 protected:
  fake::TFakePlatform FPlatform;
  TScopedPlatform FInstalled{FPlatform};
  fake::TFakeFiles& Files() { return FPlatform.Files(); }
};

TEST_F(FileStreamOnFake, CreateWritesAndOpenReadsBack) {
  {
    TFileStream s(u"C:\\tmp\\a.bin", TFileStreamMode::Create);
    s.WriteBuffer("hello world", 11);
    EXPECT_EQ(s.Size(), 11);
    EXPECT_EQ(s.Position(), 11);
    s.Seek(6, rtl::TSeekOrigin::soBeginning);
    s.WriteBuffer("W", 1);
    EXPECT_TRUE(s.FlushBuffers());
  }
  EXPECT_EQ(Files().Contents(u"C:\\tmp\\a.bin"), "hello World");
  EXPECT_EQ(Files().FlushCount(u"C:\\tmp\\a.bin"), 1);
  TFileStream r(u"c:/TMP/a.bin", TFileStreamMode::OpenRead);
  char buffer[16] = {};
  EXPECT_EQ(r.Read(buffer, sizeof buffer), 11);
  EXPECT_STREQ(buffer, "hello World");
  EXPECT_EQ(r.Seek(-5, rtl::TSeekOrigin::soEnd), 6);
  EXPECT_EQ(Files().OpenFileCount(), 1);
}

TEST_F(FileStreamOnFake, CreateTruncatesAndOpenReadWriteKeeps) {
  Files().SetFile(u"C:\\log.txt", "old entries\r\n");
  {
    TFileStream s(u"C:\\log.txt", TFileStreamMode::OpenReadWrite, true);
    s.Seek(0, rtl::TSeekOrigin::soEnd);
    s.WriteBuffer("new\r\n", 5);
  }
  EXPECT_EQ(Files().Contents(u"C:\\log.txt"), "old entries\r\nnew\r\n");
  { TFileStream s(u"C:\\log.txt", TFileStreamMode::Create, true); }
  EXPECT_EQ(Files().Contents(u"C:\\log.txt"), "");
}

TEST_F(FileStreamOnFake, SetSizeTruncatesAndKeepsThePositionInside) {
  TFileStream s(u"C:\\x", TFileStreamMode::Create);
  s.WriteBuffer("0123456789", 10);
  s.SetSize(4);
  EXPECT_EQ(s.Size(), 4);
  EXPECT_EQ(s.Position(), 4);
  s.SetSize(8);
  EXPECT_EQ(Files().Contents(u"C:\\x"), std::string("0123\0\0\0\0", 8));
}

TEST_F(FileStreamOnFake, ExclusiveOpeningRefusesEveryOtherOpener) {
  TFileStream first(u"C:\\pid.txt", TFileStreamMode::Create, true);
  EXPECT_THROW(TFileStream(u"C:\\pid.txt", TFileStreamMode::OpenRead), rtl::EFOpenError);
  EXPECT_THROW(TFileStream(u"C:\\pid.txt", TFileStreamMode::Create), rtl::EFCreateError);
  TFileStream shared(u"C:\\other.txt", TFileStreamMode::Create);
  EXPECT_THROW(TFileStream(u"C:\\other.txt", TFileStreamMode::OpenReadWrite, true), rtl::EFOpenError);
  EXPECT_NO_THROW(TFileStream(u"C:\\other.txt", TFileStreamMode::OpenRead));
}

TEST_F(FileStreamOnFake, FailuresNameTheFileAndTheSystemsReason) {
  struct {
    TFileStreamMode Mode;
    const char16_t* Expected;
  } cases[] = {
      {TFileStreamMode::OpenRead, u"Cannot open file \"C:\\missing.ini\". The system cannot find the file specified"},
      {TFileStreamMode::OpenReadWrite,
       u"Cannot open file \"C:\\missing.ini\". The system cannot find the file specified"},
  };
  for (const auto& c : cases) {
    try {
      TFileStream s(u"C:\\missing.ini", c.Mode);
      ADD_FAILURE() << "opened a missing file";
    } catch (const rtl::EFOpenError& e) {
      EXPECT_EQ(e.Message(), c.Expected);
      EXPECT_EQ(e.ClassName(), u"EFOpenError");
    }
  }
  Files().SetFile(u"C:\\ro.log", "x");
  Files().SetReadOnly(u"C:\\ro.log");
  try {
    TFileStream s(u"C:\\ro.log", TFileStreamMode::Create);
    ADD_FAILURE() << "created over a read-only file";
  } catch (const rtl::EFCreateError& e) {
    EXPECT_EQ(e.Message(), u"Cannot create file \"C:\\ro.log\". Access is denied");
  }
  try {
    TFileStream s(u"C:\\ro.log", TFileStreamMode::CreateNew);
    ADD_FAILURE() << "created a file whose name exists";
  } catch (const rtl::EFCreateError& e) {
    EXPECT_EQ(e.Message(), u"Cannot create file \"C:\\ro.log\". The file exists");
  }
  EXPECT_EQ(Files().OpenFileCount(), 0);
}

TEST_F(FileStreamOnFake, AFailedWriteIsShortAndWriteBufferRaises) {
  TFileStream s(u"C:\\x", TFileStreamMode::Create);
  Files().FailWrites = true;
  EXPECT_EQ(s.Write("abc", 3), 0);
  EXPECT_THROW(s.WriteBuffer("abc", 3), rtl::EWriteError);
}

}  // namespace
}  // namespace qor::platform
