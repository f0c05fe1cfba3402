#pragma once
// The system's socket library.
namespace qor::platform {

class TSocketService {
 public:
  virtual ~TSocketService() = default;
  // LoadLibraryW("ws2_32.dll") and WSAStartup(2.2); false when either fails.
  virtual bool Startup() = 0;
  // WSACleanup and FreeLibrary after a successful Startup; otherwise nothing.
  virtual void Cleanup() = 0;
};

}  // namespace qor::platform
