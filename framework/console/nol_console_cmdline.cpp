#include "framework/console/nol_console_cmdline.h"

#include <utility>

namespace qor {

namespace {
std::vector<rtl::String>& Arguments() {
  static std::vector<rtl::String> arguments;
  return arguments;
}
}  // namespace

void SetCommandLineArguments(std::vector<rtl::String> Args) { Arguments() = std::move(Args); }

const std::vector<rtl::String>& CommandLineArguments() { return Arguments(); }

int ParamCount() {
  const auto& args = Arguments();
  return args.empty() ? 0 : static_cast<int>(args.size()) - 1;
}

rtl::String ParamStr(int Index) {
  const auto& args = Arguments();
  if (Index < 0 || static_cast<std::size_t>(Index) >= args.size()) return {};
  return args[static_cast<std::size_t>(Index)];
}

}  // namespace qor
