#pragma once
// The substitute registry's store, filled from regedit export files:
// "Windows Registry Editor Version 5.00" in UTF-16LE with BOM or UTF-8, "REGEDIT4" in
// the ANSI code page; string, dword, hex and hex(N) values, "@" for the default
// value, line continuations, [-...] keys and "name"=- deletions. Names compare
// case-insensitively. No system calls: the fuzz target builds it on its own.
#include <map>
#include <set>
#include <string_view>

#include "platform/profile_parser.h"
#include "platform/registry.h"

namespace qor::platform::posix {

struct TRegStoreValue {
  rtl::String Name;  // as written; "" is the default value
  TRegValue Value;
};

struct TRegStoreKey {
  rtl::String Path;                              // root and path as written, e.g. HKEY_CURRENT_USER\Software
  std::map<rtl::String, TRegStoreValue> Values;  // by upper-cased name
  std::set<rtl::String> Deleted;                 // "name"=- lines, applied to earlier files
};

class TRegStore {
 public:
  // Adds a file's keys and values over what is there; a key implies its parent keys.
  // A malformed file raises ERegistryFileError "fileName:line: reason" and adds nothing.
  void Load(std::string_view bytes, rtl::StringView fileName, const TAnsiDecoder& ansi);

  // The 32-bit view: a key under HKEY_LOCAL_MACHINE\SOFTWARE is read from
  // SOFTWARE\WOW6432Node\... when that exists, else as written. nullptr when absent.
  const TRegStoreKey* FindKey(TRegRoot root, rtl::StringView path) const;
  // Every key by its normalised name ("HKEY_LOCAL_MACHINE\SOFTWARE\X", upper case).
  const std::map<rtl::String, TRegStoreKey>& Keys() const { return FKeys; }

  // "HKEY_CURRENT_USER\..." in upper case without leading or trailing backslashes,
  // abbreviated roots expanded; empty for an unknown root.
  static rtl::String NormalKey(rtl::StringView fullPath);

 private:
  std::map<rtl::String, TRegStoreKey> FKeys;
};

}  // namespace qor::platform::posix
