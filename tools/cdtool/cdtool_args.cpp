#include "tools/cdtool/cdtool_args.h"

#include "rtl/format.h"

namespace qor::cdtool {

namespace {

constexpr rtl::StringView kKey = u"-key";
constexpr rtl::StringView kKeyHex = u"-keyhex";
constexpr rtl::StringView kConfig = u"-config";

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

bool IsOption(rtl::StringView p) { return p == kKey || p == kKeyHex || p == kConfig; }

TToolArgs ParseToolArgs(const rtl::TStringList& params) {
  TToolArgs args;
  for (int i = 1; i < params.Count(); ++i) {
    const rtl::String& p = params[i];
    std::optional<rtl::String>* option = nullptr;
    if (p == kKey)
      option = &args.Key;
    else if (p == kKeyHex)
      option = &args.KeyHex;
    else if (p == kConfig)
      option = &args.Config;
    if (!option) {
      if (!p.empty() && p[0] == u'-') throw ECdToolError(rtl::Format(u"Unknown option %s", {p}));
      args.Positional.push_back(p);
      continue;
    }
    // "-key -config x.ini" lacks the key: taking "-config" as the key would make the
    // configuration file the destination.
    if (i + 1 >= params.Count() || IsOption(params[i + 1]))
      throw ECdToolError(rtl::Format(u"Option %s needs a value", {p}));
    if (!option->has_value()) *option = params[i + 1];
    ++i;
  }
  return args;
}

std::vector<std::uint8_t> KeyBytes(const TToolArgs& args) {
  if (args.Key && args.KeyHex) throw ECdToolError(u"Give either -key or -keyhex, not both");
  if (args.Key) {
    if (args.Key->empty()) throw ECdToolError(u"The key is empty");
    const std::string utf8 = rtl::StringToUtf8(*args.Key);
    return {utf8.begin(), utf8.end()};
  }
  if (args.KeyHex) {
    const rtl::String& hex = *args.KeyHex;
    if (hex.empty()) throw ECdToolError(u"The key is empty");
    if (hex.size() % 2 != 0) throw ECdToolError(u"The hexadecimal key needs an even number of digits");
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
      const int high = HexValue(hex[i]), low = HexValue(hex[i + 1]);
      if (high < 0 || low < 0) throw ECdToolError(rtl::Format(u"Not a hexadecimal key: %s", {hex}));
      bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
  }
  throw ECdToolError(u"No key: give -key TEXT or -keyhex HEX");
}

}  // namespace qor::cdtool
