#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/posix/posix_services.h"
#include "platform/posix/posix_util.h"
#include "platform/system_platform.h"

namespace qor::platform::posix {

std::uint32_t TPosixClock::TickCount() {
  struct timespec ts;
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  const std::uint64_t ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u + static_cast<std::uint64_t>(ts.tv_nsec / 1000000);
  return static_cast<std::uint32_t>(ms);
}

std::uint32_t TPosixClock::ProcessId() { return static_cast<std::uint32_t>(::getpid()); }

rtl::TDateTime TPosixClock::Now() {
  struct timespec ts;
  ::clock_gettime(CLOCK_REALTIME, &ts);
  struct tm tm;
  if (!::localtime_r(&ts.tv_sec, &tm)) return 0;
  rtl::TDateTime d = 0, t = 0;
  rtl::TryEncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, d);
  rtl::TryEncodeTime(tm.tm_hour, tm.tm_min, tm.tm_sec > 59 ? 59 : tm.tm_sec, static_cast<int>(ts.tv_nsec / 1000000),
                     t);
  return d + t;
}

bool TPosixConsole::IsConsoleProgram() { return ::fcntl(1, F_GETFD) != -1; }

void TPosixConsole::Write(std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(1, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // a closed or full output loses the text, as on Windows
    done += static_cast<std::size_t>(n);
  }
}

namespace {
class TPosixPlatform : public TPlatform {
 public:
  TPosixPlatform() : FRegistry(FCodePages), FProcesses(FFiles), FShell(FProcesses), FInternet(FRegistry.Store()),
                     FProfiles(FCodePages) {}

  TRegistryService& Registry() override { return FRegistry; }
  TMutexService& Mutexes() override { return FMutexes; }
  TProcessService& Processes() override { return FProcesses; }
  TShellService& Shell() override { return FShell; }
  TFileService& Files() override { return FFiles; }
  TInternetService& Internet() override { return FInternet; }
  TCodePageService& CodePages() override { return FCodePages; }
  TProfileService& Profiles() override { return FProfiles; }
  TClockService& Clock() override { return FClock; }
  TConsoleService& Console() override { return FConsole; }
  TLocaleService& Locale() override { return FLocale; }
  TSocketService& Sockets() override { return FSockets; }

 private:
  TPosixCodePages FCodePages;
  TPosixRegistry FRegistry;
  TPosixMutexes FMutexes;
  TPosixFiles FFiles;
  TPosixProcesses FProcesses;
  TPosixShell FShell;
  TPosixInternet FInternet;
  TPosixProfiles FProfiles;
  TPosixClock FClock;
  TPosixConsole FConsole;
  TPosixLocale FLocale;
  TPosixSockets FSockets;
};
}  // namespace

}  // namespace qor::platform::posix

namespace qor::platform {

std::unique_ptr<TPlatform> CreateSystemPlatform() { return std::make_unique<posix::TPosixPlatform>(); }

}  // namespace qor::platform
