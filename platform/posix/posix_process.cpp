#include <cerrno>

#include "platform/command_line.h"
#include "platform/posix/posix_services.h"
#include "platform/posix/posix_spawn.h"
#include "platform/posix/posix_util.h"

namespace qor::platform::posix {

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

}  // namespace qor::platform::posix
