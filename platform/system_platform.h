#pragma once
// The factory of the real platform; the build links the backend it chose
// (platform/win32 or platform/posix).
#include <memory>

#include "platform/platform.h"

namespace qor::platform {

// POSIX: reads the substitute registry files here; a malformed one raises
// ERegistryFileError naming the file and line.
std::unique_ptr<TPlatform> CreateSystemPlatform();

}  // namespace qor::platform
