// The substitute platform: every POSIX service together.
#include "platform/posix/posix_services.h"
#include "platform/service_platform.h"
#include "platform/system_platform.h"

namespace qor::platform::posix {

namespace {
struct TPosixServices {
  TPosixCodePages CodePages;
  TPosixRegistry Registry{CodePages};
  TPosixMutexes Mutexes;
  TPosixFiles Files;
  TPosixProcesses Processes{Files};
  TPosixShell Shell{Processes};
  TPosixInternet Internet{Registry.Store()};
  TPosixProfiles Profiles{CodePages};
  TPosixClock Clock;
  TPosixConsole Console;
  TPosixLocale Locale;
  TPosixSockets Sockets;
};
}  // namespace

}  // namespace qor::platform::posix

namespace qor::platform {

TShellApartment::TShellApartment() = default;
TShellApartment::~TShellApartment() = default;

std::unique_ptr<TPlatform> CreateSystemPlatform() {
  return std::make_unique<TServicePlatform<posix::TPosixServices>>();
}

}  // namespace qor::platform
