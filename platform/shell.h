#pragma once
// The shell's verbs on documents ("open").
#include <cstdint>
#include <optional>

#include "platform/types.h"
#include "rtl/strings.h"

namespace qor::platform {

class TShellService {
 public:
  virtual ~TShellService() = default;
  // ShellExecuteW with no owner window; parameters and directory are passed only when
  // given. Returns the shell's result (above 32 on success).
  virtual std::intptr_t Execute(rtl::StringView verb, rtl::StringView file,
                                const std::optional<rtl::String>& parameters,
                                const std::optional<rtl::String>& directory, int showCmd) = 0;
};

}  // namespace qor::platform
