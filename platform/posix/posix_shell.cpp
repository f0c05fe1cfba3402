#include <sys/stat.h>

#include <cerrno>

#include "platform/command_line.h"
#include "platform/posix/posix_services.h"
#include "platform/posix/posix_spawn.h"
#include "platform/posix/posix_util.h"

namespace qor::platform::posix {

namespace {
constexpr std::intptr_t kShellOk = 42;
constexpr std::intptr_t kShellFileNotFound = 2;    // SE_ERR_FNF
constexpr std::intptr_t kShellAccessDenied = 5;    // SE_ERR_ACCESSDENIED
constexpr std::intptr_t kShellBadFormat = 11;      // ERROR_BAD_FORMAT
constexpr std::intptr_t kShellNoAssociation = 31;  // SE_ERR_NOASSOC

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
