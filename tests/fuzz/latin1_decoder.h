#pragma once
// Bytes to UTF-16 one to one: every input decodes, so the readers see all of it.
#include <string_view>

#include "platform/profile_parser.h"

inline const qor::platform::TAnsiDecoder& Latin1Decoder() {
  static const qor::platform::TAnsiDecoder decoder = [](std::string_view s) {
    qor::rtl::String out;
    for (unsigned char c : s) out.push_back(c);
    return out;
  };
  return decoder;
}
