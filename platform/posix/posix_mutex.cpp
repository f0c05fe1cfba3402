#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/posix_services.h"
#include "platform/posix/posix_util.h"

namespace qor::platform::posix {

namespace {
// A folder of our own: a real directory (not a link), owned by us, closed to others.
bool OwnFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 022) == 0;
}

// The mutex name as one file name: '/', '%' and a leading '.' are escaped, long
// names shortened with a hash.
std::string FileNameOf(rtl::StringView name) {
  const std::string utf8 = rtl::StringToUtf8(name);
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (c == '/' || c == '%' || (c == '.' && i == 0)) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += '%';
      out += kHex[static_cast<unsigned char>(c) >> 4];
      out += kHex[static_cast<unsigned char>(c) & 15];
    } else {
      out += c;
    }
  }
  if (out.size() > 200) {
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : utf8) h = (h ^ c) * 1099511628211ull;
    out = out.substr(0, 180) + "%" + std::to_string(h);
  }
  return out;
}

constexpr THandle kUnnamed = ~static_cast<THandle>(0);
}  // namespace

std::string TPosixMutexes::Folder() {
  const std::string uid = std::to_string(::getuid());
  const std::string run = "/run/user/" + uid;
  struct stat st;
  if (::stat(run.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && OwnFolder(run + "/nol-mutex"))
    return run + "/nol-mutex";
  const std::string tmp = "/tmp/nol-mutex-" + uid;
  return OwnFolder(tmp) ? tmp : std::string();
}

// Every holder keeps a shared lock on the name's file; a probe that gets the
// exclusive lock is the first holder. Lock files stay; the kernel drops the locks of
// a holder that dies.
THandle TPosixMutexes::Create(rtl::StringView name, TSysError& lastError) {
  if (name.empty()) {  // an unnamed mutex is never shared
    lastError = kErrorSuccess;
    return kUnnamed;
  }
  const std::string folder = Folder();
  if (folder.empty()) {
    lastError = kErrorAccessDenied;
    return kNoHandle;
  }
  const std::string path = folder + "/" + FileNameOf(name);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    lastError = kErrorAccessDenied;
    return kNoHandle;
  }
  int r;
  while ((r = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  if (r == 0) {
    lastError = kErrorSuccess;
  } else if (errno == EWOULDBLOCK) {
    lastError = kErrorAlreadyExists;
  } else {
    ::close(fd);
    lastError = kErrorAccessDenied;
    return kNoHandle;
  }
  // Another prober may hold the exclusive lock for an instant; wait for it.
  while (::flock(fd, LOCK_SH) != 0) {
    if (errno != EINTR) {
      ::close(fd);
      lastError = kErrorAccessDenied;
      return kNoHandle;
    }
  }
  return static_cast<THandle>(fd) + 1;
}

void TPosixMutexes::Close(THandle mutex) {
  if (mutex == kNoHandle || mutex == kUnnamed) return;
  ::close(static_cast<int>(mutex - 1));
}

}  // namespace qor::platform::posix
