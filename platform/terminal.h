#pragma once
// Standard error when it is a terminal: for progress lines that only a person
// watching should see, never a file or a pipe.
#include <string_view>

namespace qor::platform {

// A terminal (POSIX) or a console (Windows) is attached to standard error.
bool StandardErrorIsTerminal();
// Bytes as they are; failures are ignored.
void WriteStandardError(std::string_view bytes);

}  // namespace qor::platform
