#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/command_line.h"
#include "platform/posix/posix_services.h"
#include "platform/posix/posix_util.h"

extern char** environ;

namespace qor::platform::posix {

namespace {
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

// A program of the system, found in PATH only (wine, xdg-open).
std::string FindInPath(const std::string& name) {
  if (name.find('/') != std::string::npos) return IsRegularFile(name) ? name : std::string();
  for (const std::string& folder : PathFolders()) {
    const std::string candidate = folder + "/" + name;
    if (IsRegularFile(candidate) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

enum class TImageKind { Native, Windows, Unknown };

TImageKind KindOf(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return TImageKind::Unknown;
  char head[4] = {};
  const ssize_t n = ::read(fd, head, sizeof head);
  ::close(fd);
  if (n >= 4 && std::memcmp(head, "\x7f" "ELF", 4) == 0) return TImageKind::Native;
  if (n >= 2 && head[0] == '#' && head[1] == '!') return TImageKind::Native;
  if (n >= 2 && head[0] == 'M' && head[1] == 'Z') return TImageKind::Windows;
  return TImageKind::Unknown;
}

struct TReport {
  int Kind;  // 0: the child's pid, 1: an errno
  int Value;
};

void WriteReport(int fd, int kind, int value) {
  const TReport r{kind, value};
  ssize_t ignored = ::write(fd, &r, sizeof r);
  (void)ignored;
}

// Starts program detached: its own session, standard streams on /dev/null, reaped by
// init through a double fork. The pid, or 0 with errno set.
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
}  // namespace

std::string TPosixProcesses::FindProgram(rtl::StringView token) {
  const std::string path = FsPath(token);
  if (path.empty()) return {};
  const std::size_t slash = path.rfind('/');
  const std::string last = slash == std::string::npos ? path : path.substr(slash + 1);
  // Windows appends ".exe" to a name without an extension; native programs have none.
  std::vector<std::string> names;
  if (last.find('.') == std::string::npos) names.push_back(path + ".exe");
  names.push_back(path);
  if (slash != std::string::npos) {
    for (const std::string& n : names)
      if (IsRegularFile(n)) return n;
    return {};
  }
  std::vector<std::string> folders{DirName(FsPath(FFiles.ProgramPath())), CurrentFolder()};
  for (const std::string& f : PathFolders()) folders.push_back(f);
  for (const std::string& folder : folders)
    for (const std::string& n : names) {
      const std::string candidate = folder + "/" + n;
      if (IsRegularFile(candidate)) return candidate;
    }
  return {};
}

int TPosixProcesses::StartCommandLine(rtl::StringView line, const std::string& directory) {
  std::string program;
  TCommandLineToken token;
  for (const TCommandLineToken& candidate : ProgramTokenCandidates(line)) {
    program = FindProgram(candidate.Text);
    if (!program.empty()) {
      token = candidate;
      break;
    }
  }
  if (program.empty()) {
    errno = ENOENT;
    return 0;
  }
  std::vector<std::string> args;
  switch (KindOf(program)) {
    case TImageKind::Native:
      args.push_back(rtl::StringToUtf8(token.Text));
      break;
    case TImageKind::Windows: {
      const std::string wine = FindInPath("wine");
      if (wine.empty()) {
        errno = ENOENT;
        return 0;
      }
      args = {wine, program};
      program = wine;
      break;
    }
    case TImageKind::Unknown:
      errno = ENOEXEC;
      return 0;
  }
  for (const rtl::String& a : SplitArguments(line.substr(token.End))) args.push_back(rtl::StringToUtf8(a));
  return SpawnDetached(program, args, directory);
}

bool TPosixProcesses::Create(char16_t* commandLine, bool, std::uint32_t, const TStartupInfo&,
                             TProcessInformation& info) {
  const int pid = StartCommandLine(commandLine, {});
  if (pid == 0) return false;
  info.Process = static_cast<THandle>(pid);
  info.Thread = static_cast<THandle>(pid);
  info.ProcessId = static_cast<std::uint32_t>(pid);
  info.ThreadId = static_cast<std::uint32_t>(pid);
  return true;
}

// No input-idle state exists here.
std::uint32_t TPosixProcesses::WaitForInputIdle(THandle, std::uint32_t) { return kWaitFailed; }

// The children are detached and reaped; a handle holds nothing.
void TPosixProcesses::CloseHandle(THandle) {}

std::vector<rtl::String> TPosixProcesses::Arguments() {
  std::vector<rtl::String> args;
  const std::optional<std::string> cmdline = ReadWholeFile("/proc/self/cmdline");
  if (!cmdline) return args;
  std::size_t start = 0;
  while (start < cmdline->size()) {
    std::size_t end = cmdline->find('\0', start);
    if (end == std::string::npos) end = cmdline->size();
    args.push_back(rtl::Utf8ToString(std::string_view(*cmdline).substr(start, end - start)));
    start = end + 1;
  }
  return args;
}

namespace {
constexpr std::intptr_t kShellOk = 42;
constexpr std::intptr_t kShellFileNotFound = 2;     // SE_ERR_FNF
constexpr std::intptr_t kShellAccessDenied = 5;     // SE_ERR_ACCESSDENIED
constexpr std::intptr_t kShellBadFormat = 11;       // ERROR_BAD_FORMAT
constexpr std::intptr_t kShellNoAssociation = 31;   // SE_ERR_NOASSOC

std::intptr_t ShellError(int error) {
  if (error == ENOENT || error == ENOTDIR) return kShellFileNotFound;
  if (error == ENOEXEC) return kShellBadFormat;
  return kShellAccessDenied;
}

rtl::String LowerExtension(rtl::StringView file) {
  const std::size_t sep = file.find_last_of(u"\\/");
  const rtl::StringView last = sep == rtl::StringView::npos ? file : file.substr(sep + 1);
  const std::size_t dot = last.rfind(u'.');
  return dot == rtl::StringView::npos ? rtl::String() : rtl::AsciiLowerCase(last.substr(dot));
}
}  // namespace

std::intptr_t TPosixShell::Execute(rtl::StringView verb, rtl::StringView file,
                                   const std::optional<rtl::String>& parameters,
                                   const std::optional<rtl::String>& directory, int showCmd) {
  if (!verb.empty() && rtl::AsciiLowerCase(verb) != u"open") return kShellNoAssociation;
  const std::string folder = directory && !directory->empty() ? FsPath(*directory) : std::string();
  std::string document = FsPath(file);
  // A relative document is the current folder's, even when the action runs elsewhere.
  if (!folder.empty() && !document.empty() && document[0] != '/') document = CurrentFolder() + "/" + document;

  const rtl::String ext = LowerExtension(file);
  if (ext == u".exe" || ext == u".com" || ext == u".bat" || ext == u".cmd") {
    rtl::String line = QuoteArgument(FromFs(document));
    if (parameters && !parameters->empty()) line += u" " + *parameters;
    return FProcesses.StartCommandLine(line, folder) != 0 ? kShellOk : ShellError(errno);
  }
  std::vector<std::string> args;
  std::string program;
  if (const std::optional<std::string> opener = Env("NOL_SHELL_OPEN"); opener && !opener->empty()) {
    program = FindInPath(*opener);
    args = {program, document, parameters ? rtl::StringToUtf8(*parameters) : std::string(),
            directory ? FsPath(*directory) : std::string(), std::to_string(showCmd)};
  } else {
    struct stat st;
    if (::stat(document.c_str(), &st) != 0) return kShellFileNotFound;
    program = FindInPath("xdg-open");
    args = {program, document};
  }
  if (program.empty()) return kShellNoAssociation;
  return SpawnDetached(program, args, folder) != 0 ? kShellOk : ShellError(errno);
}

}  // namespace qor::platform::posix
