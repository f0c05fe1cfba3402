// clang-format off
#include "platform/win32/win32_services.h"
#include <shellapi.h>
// clang-format on

#include "platform/win32/wide.h"

namespace qor::platform::win32 {

std::intptr_t TWin32Shell::Execute(rtl::StringView verb, rtl::StringView file,
                                   const std::optional<rtl::String>& parameters,
                                   const std::optional<rtl::String>& directory, int showCmd) {
  const rtl::String v = Z(verb), f = Z(file);
  const HINSTANCE r =
      ::ShellExecuteW(nullptr, W(v.c_str()), W(f.c_str()), parameters ? W(parameters->c_str()) : nullptr,
                      directory ? W(directory->c_str()) : nullptr, showCmd);
  return reinterpret_cast<std::intptr_t>(r);
}

}  // namespace qor::platform::win32
