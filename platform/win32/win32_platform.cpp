// The Win32 platform: every service of the real system together.
#include "platform/service_platform.h"
#include "platform/system_platform.h"
#include "platform/win32/win32_services.h"

#include <objbase.h>

namespace qor::platform::win32 {

namespace {
struct TWin32Services {
  TWin32Registry Registry;
  TWin32Mutexes Mutexes;
  TWin32Processes Processes;
  TWin32Shell Shell;
  TWin32Files Files;
  TWin32Internet Internet;
  TWin32CodePages CodePages;
  TWin32Profiles Profiles;
  TWin32Clock Clock;
  TWin32Console Console;
  TWin32Locale Locale;
  TWin32Sockets Sockets;
};
}  // namespace

}  // namespace qor::platform::win32

namespace qor::platform {

TShellApartment::TShellApartment()
    : FEntered(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}

TShellApartment::~TShellApartment() {
  if (FEntered) ::CoUninitialize();
}

std::unique_ptr<TPlatform> CreateSystemPlatform() {
  return std::make_unique<TServicePlatform<win32::TWin32Services>>();
}

}  // namespace qor::platform
