// Files and the file stream on the real system.
#include "platform/file_stream.h"
#include "tests/platform/system_platform_fixture.h"

namespace qor::platform::testing {
namespace {

class SystemFiles : public SystemPlatformTest {};

TEST_F(SystemFiles, StreamWritesReadsSeeksResizesAndFlushes) {
  const rtl::String name = Str(Dir() / "data.bin");
  {
    TFileStream s(name, TFileStreamMode::CreateNew, true);
    s.WriteBuffer("0123456789", 10);
    EXPECT_EQ(s.Size(), 10);
    s.Seek(-3, rtl::TSeekOrigin::soEnd);
    s.WriteBuffer("xyz!", 4);
    EXPECT_EQ(s.Size(), 11);
    EXPECT_TRUE(s.FlushBuffers());
    s.SetSize(5);
    EXPECT_EQ(s.Size(), 5);
    EXPECT_EQ(s.Position(), 5);
  }
  EXPECT_EQ(ReadBytes(Dir() / "data.bin"), "01234");
  TFileStream r(name, TFileStreamMode::OpenRead);
  char buffer[8] = {};
  EXPECT_EQ(r.Read(buffer, 8), 5);
  EXPECT_EQ(r.Read(buffer, 8), 0);
  EXPECT_THROW(r.WriteBuffer("a", 1), rtl::EWriteError);
}

TEST_F(SystemFiles, OpenReadWriteKeepsTheContentsAndCreateTruncates) {
  WriteBytes(Dir() / "log.txt", "old\r\n");
  const rtl::String name = Str(Dir() / "log.txt");
  {
    TFileStream s(name, TFileStreamMode::OpenReadWrite, true);
    s.Seek(0, rtl::TSeekOrigin::soEnd);
    s.WriteBuffer("new\r\n", 5);
  }
  EXPECT_EQ(ReadBytes(Dir() / "log.txt"), "old\r\nnew\r\n");
  { TFileStream s(name, TFileStreamMode::Create, true); }
  EXPECT_EQ(ReadBytes(Dir() / "log.txt"), "");
}

TEST_F(SystemFiles, AnExclusiveFileIsRefusedToASecondOpener) {
  const rtl::String name = Str(Dir() / "pid.txt");
  TFileStream first(name, TFileStreamMode::Create, true);
  first.WriteBuffer("123", 3);
  EXPECT_THROW(TFileStream(name, TFileStreamMode::OpenRead), rtl::EFOpenError);
  EXPECT_THROW(TFileStream(name, TFileStreamMode::OpenReadWrite, true), rtl::EFOpenError);
  // Refused creation leaves the holder's contents alone.
  EXPECT_THROW(TFileStream(name, TFileStreamMode::Create, true), rtl::EFCreateError);
  EXPECT_EQ(first.Size(), 3);
  // A shared opener keeps an exclusive one out as well.
  const rtl::String other = Str(Dir() / "other.txt");
  TFileStream shared(other, TFileStreamMode::Create);
  EXPECT_NO_THROW(TFileStream(other, TFileStreamMode::OpenRead));
  EXPECT_THROW(TFileStream(other, TFileStreamMode::OpenRead, true), rtl::EFOpenError);
}

TEST_F(SystemFiles, FailuresCarryTheNameAndTheSystemsText) {
  const rtl::String missing = Str(Dir() / "missing.ini");
  try {
    TFileStream s(missing, TFileStreamMode::OpenRead);
    FAIL() << "opened a missing file";
  } catch (const rtl::EFOpenError& e) {
    const rtl::String prefix = u"Cannot open file \"" + missing + u"\". ";
    ASSERT_EQ(e.Message().substr(0, prefix.size()), prefix);
    const rtl::String reason = e.Message().substr(prefix.size());
    EXPECT_FALSE(reason.empty());
    EXPECT_NE(reason.back(), u'.');
    EXPECT_NE(reason.back(), u'\n');
  }
  const rtl::String nowhere = Str(Dir() / "no-folder" / "x.log");
  try {
    TFileStream s(nowhere, TFileStreamMode::Create);
    FAIL() << "created a file in a missing folder";
  } catch (const rtl::EFCreateError& e) {
    EXPECT_EQ(e.Message().rfind(u"Cannot create file \"" + nowhere + u"\". ", 0), 0u);
  }
  WriteBytes(Dir() / "exists.txt", "x");
  EXPECT_THROW(TFileStream(Str(Dir() / "exists.txt"), TFileStreamMode::CreateNew), rtl::EFCreateError);
}

TEST_F(SystemFiles, CopyRenameDeleteAndExistence) {
  TFileService& f = P().Files();
  WriteBytes(Dir() / "a.jpg", "picture");
  WriteBytes(Dir() / "b.jpg", "older");
  const rtl::String a = Str(Dir() / "a.jpg"), b = Str(Dir() / "b.jpg"), c = Str(Dir() / "c.jpg");
  EXPECT_TRUE(f.FileExists(a));
  EXPECT_FALSE(f.FileExists(Str(Dir())));
  EXPECT_TRUE(f.DirectoryExists(Str(Dir())));
  EXPECT_FALSE(f.Copy(a, b, true));
  EXPECT_EQ(ReadBytes(Dir() / "b.jpg"), "older");
  EXPECT_TRUE(f.Copy(a, b, false));
  EXPECT_EQ(ReadBytes(Dir() / "b.jpg"), "picture");
  EXPECT_FALSE(f.Copy(Str(Dir() / "none"), c, false));
  WriteBytes(Dir() / "b.jpg", "replaced by rename");
  EXPECT_FALSE(f.Rename(b, a, false));
  EXPECT_TRUE(f.Rename(b, a, true));
  EXPECT_EQ(ReadBytes(Dir() / "a.jpg"), "replaced by rename");
  EXPECT_FALSE(f.FileExists(b));
  EXPECT_TRUE(f.Delete(a));
  EXPECT_FALSE(f.Delete(a));
  EXPECT_FALSE(f.Delete(Str(Dir())));
}

TEST_F(SystemFiles, AnOpenFileIsNeitherDeletedNorRenamedAndAnExclusiveOneNotReplaced) {
  TFileService& f = P().Files();
  WriteBytes(Dir() / "src.txt", "new");
  const rtl::String open = Str(Dir() / "open.txt"), src = Str(Dir() / "src.txt");
  {
    TFileStream s(open, TFileStreamMode::Create, true);
    s.WriteBuffer("held", 4);
    EXPECT_FALSE(f.Delete(open));
    EXPECT_FALSE(f.Copy(src, open, false));
    EXPECT_FALSE(f.Rename(src, open, true));
    EXPECT_FALSE(f.Rename(open, Str(Dir() / "moved.txt"), false));
  }
  EXPECT_EQ(ReadBytes(Dir() / "open.txt"), "held");
  {
    TFileStream s(open, TFileStreamMode::OpenRead);
    EXPECT_FALSE(f.Delete(open));
    EXPECT_TRUE(f.Copy(src, open, false));
  }
  EXPECT_EQ(ReadBytes(Dir() / "open.txt"), "new");
  EXPECT_TRUE(f.Delete(open));
}

TEST_F(SystemFiles, ModificationTimeIsTheLocalTimeOfTheLastWrite) {
  WriteBytes(Dir() / "t.txt", "x");
  rtl::TDateTime modified = 0;
  ASSERT_TRUE(P().Files().GetModificationTime(Str(Dir() / "t.txt"), modified));
  EXPECT_NEAR(modified, P().Clock().Now(), 60.0 / 86400);
  EXPECT_FALSE(P().Files().GetModificationTime(Str(Dir() / "none"), modified));
}

TEST_F(SystemFiles, ProgramPathAndCurrentDirectory) {
  const fs::path self = fs::path(P().Files().ProgramPath());
  EXPECT_TRUE(fs::is_regular_file(self));
  EXPECT_EQ(self.stem(), "platform_tests");
  EXPECT_EQ(fs::path(P().Files().CurrentDirectory()), fs::current_path());
}

}  // namespace
}  // namespace qor::platform::testing
