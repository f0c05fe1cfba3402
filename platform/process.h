#pragma once
// Process creation from a command line and the input-idle wait.
#include <cstdint>
#include <vector>

#include "platform/types.h"
#include "rtl/strings.h"

namespace qor::platform {

// Show commands (Windows values).
#ifndef SW_SHOWNORMAL
inline constexpr std::uint16_t SW_HIDE = 0;
inline constexpr std::uint16_t SW_SHOWNORMAL = 1;
inline constexpr std::uint16_t SW_SHOWMAXIMIZED = 3;
inline constexpr std::uint16_t SW_SHOW = 5;
#endif

inline constexpr std::uint32_t kStartfUseShowWindow = 0x1;   // STARTF_USESHOWWINDOW
inline constexpr std::uint32_t kNormalPriorityClass = 0x20;  // NORMAL_PRIORITY_CLASS
inline constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;      // INFINITE
inline constexpr std::uint32_t kWaitFailed = 0xFFFFFFFFu;    // WAIT_FAILED

// The start-up record: every field the backend does not name here is zero; the
// backend sets the size field to the size of its own record.
struct TStartupInfo {
  std::uint32_t Flags = 0;
  std::uint16_t ShowWindow = 0;
};

struct TProcessInformation {
  THandle Process = kNoHandle;
  THandle Thread = kNoHandle;
  std::uint32_t ProcessId = 0;
  std::uint32_t ThreadId = 0;
};

class TProcessService {
 public:
  virtual ~TProcessService() = default;
  // CreateProcessW with no application name, no security attributes, this process's
  // environment and current directory. commandLine is a writable, NUL-terminated
  // buffer that the call may modify. False when creation failed; then info is untouched.
  virtual bool Create(char16_t* commandLine, bool inheritHandles, std::uint32_t creationFlags,
                      const TStartupInfo& startup, TProcessInformation& info) = 0;
  // WaitForInputIdle: 0 when idle, kWaitFailed at once for a process without a message
  // queue (and always on POSIX, where no input-idle state exists).
  virtual std::uint32_t WaitForInputIdle(THandle process, std::uint32_t milliseconds) = 0;
  virtual void CloseHandle(THandle handle) = 0;

  // This process's command-line arguments, the program first, as the C runtime
  // splits them (POSIX: as the process received them).
  virtual std::vector<rtl::String> Arguments() = 0;
};

}  // namespace qor::platform
