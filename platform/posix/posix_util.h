#pragma once
// Helpers of the POSIX substitute: paths, UTF-8 and errno texts.
#include <optional>
#include <string>

#include "platform/types.h"
#include "rtl/strings.h"

namespace qor::platform::posix {

// A Windows-form path as the file system wants it: '\' becomes '/', UTF-8.
std::string FsPath(rtl::StringView path);
rtl::String FromFs(std::string_view path);

// strerror, without a trailing full stop.
rtl::String ErrnoText(int error);

// The whole file, or nullopt with errno set.
std::optional<std::string> ReadWholeFile(const std::string& path);

// A value of the environment, or nullopt when unset.
std::optional<std::string> Env(const char* name);

// The folder part of a POSIX path ("/a/b" for "/a/b/c"; "." when there is none).
std::string DirName(const std::string& path);

}  // namespace qor::platform::posix
