#include "platform/posix/posix_spawn.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/posix_util.h"

extern char** environ;

namespace qor::platform::posix {

bool IsRegularFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string CurrentFolder() {
  char buffer[4096];
  return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}

std::vector<std::string> PathFolders() {
  std::vector<std::string> folders;
  const std::string path = Env("PATH").value_or("/usr/local/bin:/usr/bin:/bin");
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(':', start);
    if (end == std::string::npos) end = path.size();
    folders.push_back(end > start ? path.substr(start, end - start) : std::string("."));
    start = end + 1;
  }
  return folders;
}

std::string FindInPath(const std::string& name) {
  if (name.find('/') != std::string::npos) return IsRegularFile(name) ? name : std::string();
  for (const std::string& folder : PathFolders()) {
    const std::string candidate = folder + "/" + name;
    if (IsRegularFile(candidate) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

TImageKind KindOf(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return TImageKind::Unknown;
  char head[4] = {};
  const ssize_t n = ::read(fd, head, sizeof head);
  ::close(fd);
  if (n >= 4 && std::memcmp(head,
                            "\x7f"
                            "ELF",
                            4) == 0)
    return TImageKind::Native;
  if (n >= 2 && head[0] == '#' && head[1] == '!') return TImageKind::Native;
  if (n >= 2 && head[0] == 'M' && head[1] == 'Z') return TImageKind::Windows;
  return TImageKind::Unknown;
}

namespace {
struct TReport {
  int Kind;  // 0: the child's pid, 1: an errno
  int Value;
};

void WriteReport(int fd, int kind, int value) {
  const TReport r{kind, value};
  ssize_t ignored = ::write(fd, &r, sizeof r);
  (void)ignored;
}
}  // namespace

int SpawnDetached(const std::string& program, const std::vector<std::string>& args, const std::string& directory) {
  // Everything the child needs is made before the fork.
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return 0;
  const pid_t child = ::fork();
  if (child < 0) {
    const int e = errno;
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    errno = e;
    return 0;
  }
  if (child == 0) {
    ::close(pipeFds[0]);
    ::setsid();
    const int devNull = ::open("/dev/null", O_RDWR);
    if (devNull >= 0) {
      ::dup2(devNull, 0);
      ::dup2(devNull, 1);
      ::dup2(devNull, 2);
      if (devNull > 2) ::close(devNull);
    }
    const pid_t grandchild = ::fork();
    if (grandchild < 0) {
      WriteReport(pipeFds[1], 1, errno);
      ::_exit(1);
    }
    if (grandchild > 0) {
      WriteReport(pipeFds[1], 0, grandchild);
      ::_exit(0);
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::signal(SIGPIPE, SIG_DFL);
    ::signal(SIGCHLD, SIG_DFL);
    if (!directory.empty() && ::chdir(directory.c_str()) != 0) {
      WriteReport(pipeFds[1], 1, errno);
      ::_exit(127);
    }
    ::execve(program.c_str(), argv.data(), environ);
    WriteReport(pipeFds[1], 1, errno);
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  int status;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  // Reports arrive until the program's exec closes the pipe.
  int pid = 0, error = 0;
  TReport r;
  for (;;) {
    const ssize_t n = ::read(pipeFds[0], &r, sizeof r);
    if (n < 0 && errno == EINTR) continue;
    if (n != static_cast<ssize_t>(sizeof r)) break;
    if (r.Kind == 0)
      pid = r.Value;
    else
      error = r.Value;
  }
  ::close(pipeFds[0]);
  if (error != 0 || pid == 0) {
    errno = error != 0 ? error : ECHILD;
    return 0;
  }
  return pid;
}

}  // namespace qor::platform::posix
