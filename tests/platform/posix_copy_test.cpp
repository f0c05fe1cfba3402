// The POSIX copy when the system cannot describe the source it has opened: the
// copy fails with the system's error, whatever the unfilled record would say.
#ifndef _WIN32
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "tests/platform/system_platform_fixture.h"

namespace {

// Armed with a file name, fstat of a descriptor open on that file fails with EIO
// after leaving a folder's mode in the record.
std::string& FailingFstatTarget() {
  static std::string target;
  return target;
}

}  // namespace

extern "C" int fstat(int fd, struct stat* st) {
  using TFstat = int (*)(int, struct stat*);
  static const auto real = reinterpret_cast<TFstat>(::dlsym(RTLD_NEXT, "fstat"));
  const std::string& target = FailingFstatTarget();
  if (!target.empty()) {
    char path[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = ::readlink(link.c_str(), path, sizeof path - 1);
    if (n > 0 && std::string(path, static_cast<std::size_t>(n)) == target) {
      st->st_mode = S_IFDIR | 0755;
      errno = EIO;
      return -1;
    }
  }
  return real(fd, st);
}

namespace qor::platform::testing {
namespace {

class PosixCopy : public SystemPlatformTest {};

TEST_F(PosixCopy, SourceThatCannotBeDescribedFailsWithTheSystemsError) {
  WriteBytes(Dir() / "src.txt", "contents");
  FailingFstatTarget() = fs::canonical(Dir() / "src.txt").string();
  TFileService& files = P().Files();
  const bool copied = files.Copy(Str(Dir() / "src.txt"), Str(Dir() / "dst.txt"), false);
  const TSysError error = files.LastError();
  FailingFstatTarget().clear();
  EXPECT_FALSE(copied);
  EXPECT_EQ(error, static_cast<TSysError>(EIO));
  EXPECT_FALSE(fs::exists(Dir() / "dst.txt"));
}

}  // namespace
}  // namespace qor::platform::testing
#endif
