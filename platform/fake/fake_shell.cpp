#include "platform/fake/fake_platform.h"

namespace qor::platform::fake {

std::intptr_t TFakeShell::Execute(rtl::StringView verb, rtl::StringView file,
                                  const std::optional<rtl::String>& parameters,
                                  const std::optional<rtl::String>& directory, int showCmd) {
  FCalls.push_back({rtl::String(verb), rtl::String(file), parameters, directory, showCmd});
  if (OnExecute) OnExecute(FCalls.back());
  return Result;
}

}  // namespace qor::platform::fake
