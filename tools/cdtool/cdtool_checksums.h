#pragma once
// The checksum list at a CD's root, SHA256SUMS in the format of `sha256sum -c`:
// the SHA-256 of every other file of the CD, one "HEX  NAME" line each, NAME
// relative to the root with "/" between folders.
#include <string>
#include <vector>

#include "rtl/strings.h"

namespace qor::cdtool {

inline constexpr rtl::StringView kChecksumFile = u"SHA256SUMS";

struct TChecksumEntry {
  std::string Hex;   // 64 lower-case hexadecimal digits
  rtl::String Name;  // relative, "/" between folders
};

// The entries of a list, and one problem line per line that is no entry: a
// malformed one, a name that leaves the CD (absolute, or with a ".." step) or one
// listed twice. listName names the list in those lines.
struct TChecksumList {
  std::vector<TChecksumEntry> Entries;
  std::vector<rtl::String> Problems;
};
TChecksumList ParseChecksumList(std::string_view text, rtl::StringView listName);

// The lower-case hexadecimal SHA-256 of a file (libgcrypt); raises when the file
// cannot be read.
std::string FileSha256(rtl::StringView path);

// Checks the tree below cdDir against its SHA256SUMS: one line per missing,
// changed and extra file, in the list's order and then the extra ones' in name
// order. Nothing when the tree has no SHA256SUMS.
std::vector<rtl::String> VerifyChecksums(rtl::StringView cdDir);

}  // namespace qor::cdtool
