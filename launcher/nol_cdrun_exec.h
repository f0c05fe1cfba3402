#pragma once
// Starting programs: by command line with the input-idle wait, or through the
// shell's "open" verb.
#include <cstdint>
#include <optional>

#include "rtl/strings.h"

namespace qor {

// Creates the process of CommandLine (the first token names the program) with
// NORMAL_PRIORITY_CLASS and ShowCmd, waits until it is idle for input, closes both
// handles. False, without a message, when creation fails.
bool RunProcess(rtl::StringView CommandLine, std::uint16_t ShowCmd);

// The shell's "open" on Document with no owner window; Parameters and Directory are
// passed when given. The shell's result is not examined.
void ShellOpen(rtl::StringView Document, const std::optional<rtl::String>& Parameters,
               const std::optional<rtl::String>& Directory, int ShowCmd);

}  // namespace qor
