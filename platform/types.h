#pragma once
// Plain values shared by the platform services.
#include <cstdint>

namespace qor::platform {

// An opaque handle of a backend; 0 is "none".
using THandle = std::uintptr_t;
inline constexpr THandle kNoHandle = 0;

// A system error code as the backend reports it (Windows error codes on Windows,
// errno values on POSIX); its text comes from TFileService::SysErrorMessage.
using TSysError = std::uint32_t;

}  // namespace qor::platform
