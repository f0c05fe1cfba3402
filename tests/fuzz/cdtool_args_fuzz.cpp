// libFuzzer target: nol_cdtool's argument parser. Any parameter list either parses
// into arguments that respect its rules or raises the tool's error with a message;
// so does the key taken from them.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/cdtool/cdtool_args.h"

using namespace qor;

namespace {

// Parameters separated by NUL bytes, each read as UTF-8, after the action name.
rtl::TStringList Parameters(std::string_view bytes) {
  rtl::TStringList params;
  params.SetCaseSensitive(true);
  params.Add(u"-encrypt");
  for (;;) {
    const std::size_t nul = bytes.find('\0');
    params.Add(rtl::Utf8ToString(bytes.substr(0, nul)));
    if (nul == std::string_view::npos) break;
    bytes.remove_prefix(nul + 1);
  }
  return params;
}

bool IsValue(const std::optional<rtl::String>& v) { return !v || !cdtool::IsOption(*v); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const rtl::TStringList params = Parameters(std::string_view(reinterpret_cast<const char*>(data), size));
  cdtool::TToolArgs args;
  try {
    args = cdtool::ParseToolArgs(params);
  } catch (const cdtool::ECdToolError& e) {
    if (e.Message().empty()) std::abort();
    return 0;
  }
  for (const rtl::String& p : args.Positional)
    if (!p.empty() && p[0] == u'-') std::abort();
  if (!IsValue(args.Key) || !IsValue(args.KeyHex) || !IsValue(args.Config)) std::abort();
  const std::size_t options = args.Key.has_value() + args.KeyHex.has_value() + args.Config.has_value();
  if (args.Positional.size() + 2 * options > static_cast<std::size_t>(params.Count() - 1)) std::abort();

  try {
    const std::vector<std::uint8_t> key = cdtool::KeyBytes(args);
    if (key.empty()) std::abort();
    if (args.KeyHex && key.size() * 2 != args.KeyHex->size()) std::abort();
    if (args.Key && std::string(key.begin(), key.end()) != rtl::StringToUtf8(*args.Key)) std::abort();
  } catch (const cdtool::ECdToolError& e) {
    if (e.Message().empty()) std::abort();
  }
  return 0;
}
