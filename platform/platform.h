#pragma once
// The aggregate of every platform service and the process-wide slot holding it.
// main() installs the system platform; unit tests install platform/fake.
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/internet.h"
#include "platform/locale.h"
#include "platform/mutex.h"
#include "platform/process.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/sockets.h"

namespace qor::platform {

class TPlatform {
 public:
  TPlatform() = default;
  TPlatform(const TPlatform&) = delete;
  TPlatform& operator=(const TPlatform&) = delete;
  virtual ~TPlatform() = default;

  virtual TRegistryService& Registry() = 0;
  virtual TMutexService& Mutexes() = 0;
  virtual TProcessService& Processes() = 0;
  virtual TShellService& Shell() = 0;
  virtual TFileService& Files() = 0;
  virtual TInternetService& Internet() = 0;
  virtual TCodePageService& CodePages() = 0;
  virtual TProfileService& Profiles() = 0;
  virtual TClockService& Clock() = 0;
  virtual TConsoleService& Console() = 0;
  virtual TLocaleService& Locale() = 0;
  virtual TSocketService& Sockets() = 0;
};

// The installed platform. Raises EInvalidOperation "No platform installed" when none is.
TPlatform& Platform();
bool PlatformInstalled();
// Installs platform (not owned; nullptr empties the slot) and returns the one before.
TPlatform* SetPlatform(TPlatform* platform);

// Installs a platform for a scope and restores the previous one.
class TScopedPlatform {
 public:
  explicit TScopedPlatform(TPlatform& platform) : FPrevious(SetPlatform(&platform)) {}
  ~TScopedPlatform() { SetPlatform(FPrevious); }
  TScopedPlatform(const TScopedPlatform&) = delete;
  TScopedPlatform& operator=(const TScopedPlatform&) = delete;

 private:
  TPlatform* FPrevious;
};

}  // namespace qor::platform
