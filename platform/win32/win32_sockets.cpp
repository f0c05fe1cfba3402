// winsock2.h must come before windows.h.
#include <winsock2.h>
// clang-format off
#include "platform/win32/win32_services.h"
// clang-format on

namespace qor::platform::win32 {

bool TWin32Sockets::Startup() {
  if (FStarted) return true;
  FLibrary = ::LoadLibraryW(L"ws2_32.dll");
  if (!FLibrary) return false;
  using TStartup = int(WINAPI*)(WORD, LPWSADATA);
  const auto start = reinterpret_cast<TStartup>(reinterpret_cast<void*>(::GetProcAddress(FLibrary, "WSAStartup")));
  WSADATA data;
  if (!start || start(MAKEWORD(2, 2), &data) != 0) {
    ::FreeLibrary(FLibrary);
    FLibrary = nullptr;
    return false;
  }
  FStarted = true;
  return true;
}

void TWin32Sockets::Cleanup() {
  if (!FLibrary) return;
  if (FStarted) {
    using TCleanup = int(WINAPI*)();
    if (const auto clean =
            reinterpret_cast<TCleanup>(reinterpret_cast<void*>(::GetProcAddress(FLibrary, "WSACleanup"))))
      clean();
  }
  ::FreeLibrary(FLibrary);
  FLibrary = nullptr;
  FStarted = false;
}

}  // namespace qor::platform::win32
