#pragma once
// The factory of the real platform; the build links the backend it chose
// (platform/win32 or platform/posix).
#include <memory>

#include "platform/platform.h"

namespace qor::platform {

// POSIX: reads the substitute registry files here; a malformed one raises
// ERegistryFileError naming the file and line.
std::unique_ptr<TPlatform> CreateSystemPlatform();

// The shell may carry a verb out through COM extensions, so the thread that asks
// it must be in a single-threaded apartment (Windows: CoInitializeEx with
// COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE, left by the destructor when
// entered). Does nothing on POSIX.
class TShellApartment {
 public:
  TShellApartment();
  ~TShellApartment();
  TShellApartment(const TShellApartment&) = delete;
  TShellApartment& operator=(const TShellApartment&) = delete;

 private:
  bool FEntered = false;
};

}  // namespace qor::platform
