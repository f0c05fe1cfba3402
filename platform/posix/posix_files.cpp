#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/posix/posix_services.h"
#include "platform/posix/posix_util.h"

namespace qor::platform::posix {

namespace {
thread_local TSysError tLastError = 0;

bool Fail(int error) {
  tLastError = static_cast<TSysError>(error);
  return false;
}

int Fd(THandle h) { return static_cast<int>(h) - 1; }

// Every opener of ours holds a lock. As on Windows, a file someone has open cannot be
// deleted or renamed, and one opened exclusively cannot be copied over.
bool InUse(const std::string& path, bool exclusiveOnly = false) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  const bool busy = ::flock(fd, (exclusiveOnly ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return busy;
}

bool StatOf(rtl::StringView path, struct stat& st) { return ::stat(FsPath(path).c_str(), &st) == 0; }

rtl::TDateTime LocalDateTime(const struct timespec& ts) {
  struct tm tm;
  const time_t t = ts.tv_sec;
  if (!::localtime_r(&t, &tm)) return 0;
  rtl::TDateTime d = 0, time = 0;
  rtl::TryEncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, d);
  rtl::TryEncodeTime(tm.tm_hour, tm.tm_min, tm.tm_sec > 59 ? 59 : tm.tm_sec, static_cast<int>(ts.tv_nsec / 1000000),
                     time);
  return d + time;
}

// A copy lands under a temporary name in the destination's folder and is renamed over
// it, so the destination is never left half written.
bool CopyContents(const std::string& from, const std::string& to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return Fail(errno);
  struct stat st;
  if (::fstat(in, &st) != 0) {
    const int e = errno;
    ::close(in);
    return Fail(e);
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(in);
    return Fail(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
  }
  std::string temp = to + ".nol-copy-XXXXXX";
  const int out = ::mkostemp(temp.data(), O_CLOEXEC);
  if (out < 0) {
    const int e = errno;
    ::close(in);
    return Fail(e);
  }
  char buffer[65536];
  int error = 0;
  for (;;) {
    const ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = errno;
      break;
    }
    if (n == 0) break;
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = ::write(out, buffer + done, static_cast<std::size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w < 0) {
        error = errno;
        break;
      }
      done += w;
    }
    if (error) break;
  }
  // CopyFile keeps the attributes and the modification time.
  if (!error) {
    ::fchmod(out, st.st_mode & 07777);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::futimens(out, times);
  }
  if (::close(out) != 0 && !error) error = errno;
  ::close(in);
  if (!error && ::rename(temp.c_str(), to.c_str()) != 0) error = errno;
  if (error) {
    ::unlink(temp.c_str());
    return Fail(error);
  }
  return true;
}
}  // namespace

bool TPosixFiles::FileExists(rtl::StringView path) {
  struct stat st;
  return StatOf(path, st) && !S_ISDIR(st.st_mode);
}

bool TPosixFiles::DirectoryExists(rtl::StringView path) {
  struct stat st;
  return StatOf(path, st) && S_ISDIR(st.st_mode);
}

bool TPosixFiles::Copy(rtl::StringView source, rtl::StringView dest, bool failIfExists) {
  const std::string to = FsPath(dest);
  struct stat st;
  if (::stat(to.c_str(), &st) == 0) {
    if (failIfExists) return Fail(EEXIST);
    if (S_ISDIR(st.st_mode)) return Fail(EISDIR);
    if (InUse(to, true)) return Fail(kSharingViolation);
  }
  return CopyContents(FsPath(source), to);
}

bool TPosixFiles::Delete(rtl::StringView path) {
  const std::string p = FsPath(path);
  struct stat st;
  if (::lstat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return Fail(EISDIR);
  if (InUse(p)) return Fail(kSharingViolation);
  return ::unlink(p.c_str()) == 0 || Fail(errno);
}

bool TPosixFiles::Rename(rtl::StringView from, rtl::StringView to, bool replaceExisting) {
  const std::string a = FsPath(from), b = FsPath(to);
  if (InUse(a) || InUse(b)) return Fail(kSharingViolation);
  if (replaceExisting) return ::rename(a.c_str(), b.c_str()) == 0 || Fail(errno);
  return ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_NOREPLACE) == 0 || Fail(errno);
}

bool TPosixFiles::Replace(rtl::StringView replacement, rtl::StringView replaced) {
  const std::string a = FsPath(replacement), b = FsPath(replaced);
  if (InUse(a) || InUse(b)) return Fail(kSharingViolation);
  struct stat st;
  if (::stat(b.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    if (::chown(a.c_str(), st.st_uid, st.st_gid) != 0) {
      // Only root may give a file away; the mode still follows.
    }
    if (::chmod(a.c_str(), st.st_mode & 07777) != 0) return Fail(errno);
  }
  return ::rename(a.c_str(), b.c_str()) == 0 || Fail(errno);
}

bool TPosixFiles::GetModificationTime(rtl::StringView path, rtl::TDateTime& localTime) {
  struct stat st;
  if (!StatOf(path, st)) return Fail(errno);
  localTime = LocalDateTime(st.st_mtim);
  return true;
}

rtl::String TPosixFiles::ProgramPath() {
  char buffer[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  return FromFs(std::string_view(buffer, static_cast<std::size_t>(n)));
}

rtl::String TPosixFiles::CurrentDirectory() {
  char buffer[4096];
  if (!::getcwd(buffer, sizeof buffer)) return {};
  return FromFs(buffer);
}

// Sharing as Windows does it, with locks taken at open: an exclusive opener holds
// LOCK_EX, every other one LOCK_SH, and a conflict refuses the open at once.
// Truncation waits until the lock is held.
THandle TPosixFiles::OpenFile(rtl::StringView path, TFileAccess access, TFileCreation creation, bool exclusive,
                              TSysError& error) {
  int flags = O_CLOEXEC;
  flags |= access == TFileAccess::Read ? O_RDONLY : access == TFileAccess::Write ? O_WRONLY : O_RDWR;
  bool truncate = false;
  switch (creation) {
    case TFileCreation::CreateAlways:
      flags |= O_CREAT;
      truncate = true;
      if (access == TFileAccess::Read) flags = (flags & ~O_ACCMODE) | O_RDWR;
      break;
    case TFileCreation::CreateNew:
      flags |= O_CREAT | O_EXCL;
      break;
    case TFileCreation::OpenExisting:
      break;
    case TFileCreation::OpenAlways:
      flags |= O_CREAT;
      break;
  }
  const std::string p = FsPath(path);
  const int fd = ::open(p.c_str(), flags, 0666);
  if (fd < 0) {
    error = static_cast<TSysError>(errno);
    tLastError = error;
    return kNoHandle;
  }
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    error = tLastError = EISDIR;
    return kNoHandle;
  }
  int r;
  while ((r = ::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB)) != 0 && errno == EINTR) {
  }
  if (r != 0) {
    const int e = errno;
    ::close(fd);
    error = tLastError = e == EWOULDBLOCK ? kSharingViolation : static_cast<TSysError>(e);
    return kNoHandle;
  }
  if (truncate && ::ftruncate(fd, 0) != 0) {
    const int e = errno;
    ::close(fd);
    error = tLastError = static_cast<TSysError>(e);
    return kNoHandle;
  }
  error = 0;
  return static_cast<THandle>(fd) + 1;
}

std::int64_t TPosixFiles::Read(THandle file, void* buffer, std::int64_t count) {
  for (;;) {
    const ssize_t n = ::read(Fd(file), buffer, static_cast<std::size_t>(count));
    if (n >= 0) return n;
    if (errno != EINTR) return Fail(errno), -1;
  }
}

std::int64_t TPosixFiles::Write(THandle file, const void* buffer, std::int64_t count) {
  std::int64_t done = 0;
  const char* p = static_cast<const char*>(buffer);
  while (done < count) {
    const ssize_t n = ::write(Fd(file), p + done, static_cast<std::size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return done > 0 ? done : (Fail(errno), -1);
    done += n;
  }
  return done;
}

std::int64_t TPosixFiles::Seek(THandle file, std::int64_t offset, TFileSeek origin) {
  const int whence = origin == TFileSeek::Begin ? SEEK_SET : origin == TFileSeek::Current ? SEEK_CUR : SEEK_END;
  const off_t r = ::lseek(Fd(file), static_cast<off_t>(offset), whence);
  if (r < 0) return Fail(errno), -1;
  return r;
}

bool TPosixFiles::SetSize(THandle file, std::int64_t size) {
  return ::ftruncate(Fd(file), static_cast<off_t>(size)) == 0 || Fail(errno);
}

bool TPosixFiles::Flush(THandle file) { return ::fsync(Fd(file)) == 0 || Fail(errno); }

void TPosixFiles::CloseFile(THandle file) {
  if (file != kNoHandle) ::close(Fd(file));
}

rtl::String TPosixFiles::SysErrorMessage(TSysError error) {
  if (error == kSharingViolation) return u"The file is in use by another process";
  return ErrnoText(static_cast<int>(error));
}

TSysError TPosixFiles::LastError() { return tLastError; }

}  // namespace qor::platform::posix
