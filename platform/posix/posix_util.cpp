#include "platform/posix/posix_util.h"

#include <fcntl.h>
#include <string.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace qor::platform::posix {

std::string FsPath(rtl::StringView path) {
  std::string s = rtl::StringToUtf8(path);
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

rtl::String FromFs(std::string_view path) { return rtl::Utf8ToString(path); }

rtl::String ErrnoText(int error) {
  char buffer[256];
  const char* text = strerror_r(error, buffer, sizeof buffer);  // GNU: returns the text
  std::string s = text ? text : "Unknown error";
  while (!s.empty() && (s.back() == '.' || s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return rtl::Utf8ToString(s);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string data;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int saved = errno;
      ::close(fd);
      errno = saved;
      return std::nullopt;
    }
    if (n == 0) break;
    data.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return data;
}

std::optional<std::string> Env(const char* name) {
  const char* v = std::getenv(name);
  if (!v) return std::nullopt;
  return std::string(v);
}

std::string DirName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace qor::platform::posix
