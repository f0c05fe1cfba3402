// The substitute platform: every POSIX service together.
#include "platform/posix/posix_services.h"
#include "platform/system_platform.h"

namespace qor::platform::posix {

namespace {
class TPosixPlatform : public TPlatform {
 public:
  TPosixPlatform()
      : FRegistry(FCodePages),
        FProcesses(FFiles),
        FShell(FProcesses),
        FInternet(FRegistry.Store()),
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
