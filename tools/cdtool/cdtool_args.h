#pragma once
// The arguments of nol_cdtool's actions: the parameters after the action name,
// split into positional arguments and the options with their values.
#include <cstdint>
#include <optional>
#include <vector>

#include "rtl/classes.h"
#include "rtl/exceptions.h"
#include "rtl/strings.h"

namespace qor::cdtool {

// A bad command line or a failed check: an error of the action.
using rtl::Exception;
QOR_DECLARE_EXCEPTION(ECdToolError, Exception);

struct TToolArgs {
  std::vector<rtl::String> Positional;
  std::optional<rtl::String> Key;     // -key TEXT
  std::optional<rtl::String> KeyHex;  // -keyhex HEX
  std::optional<rtl::String> Config;  // -config FILE
};

// -key, -keyhex or -config.
bool IsOption(rtl::StringView p);

// params: the whole parameter list, the action name first (it is skipped). Options
// are case-sensitive and take the next parameter as their value (which may not be
// another option); the first occurrence counts. An unknown option or a missing
// value raises ECdToolError.
TToolArgs ParseToolArgs(const rtl::TStringList& params);

// The key bytes: -key as the UTF-8 bytes of its text, -keyhex as pairs of
// hexadecimal digits. Neither, both, an empty key or a bad digit raise ECdToolError.
std::vector<std::uint8_t> KeyBytes(const TToolArgs& args);

}  // namespace qor::cdtool
