// The Win32 platform: every service of the real system together.
#include "platform/system_platform.h"
#include "platform/win32/win32_services.h"

namespace qor::platform::win32 {

namespace {
class TWin32Platform : public TPlatform {
 public:
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
  TWin32Registry FRegistry;
  TWin32Mutexes FMutexes;
  TWin32Processes FProcesses;
  TWin32Shell FShell;
  TWin32Files FFiles;
  TWin32Internet FInternet;
  TWin32CodePages FCodePages;
  TWin32Profiles FProfiles;
  TWin32Clock FClock;
  TWin32Console FConsole;
  TWin32Locale FLocale;
  TWin32Sockets FSockets;
};
}  // namespace

}  // namespace qor::platform::win32

namespace qor::platform {

std::unique_ptr<TPlatform> CreateSystemPlatform() { return std::make_unique<win32::TWin32Platform>(); }

}  // namespace qor::platform
