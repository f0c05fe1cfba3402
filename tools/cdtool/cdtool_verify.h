#pragma once
// The check of a CD tree: every file the launcher refers to exists, its pictures
// decode, and, when the CD has a SHA256SUMS, every file matches it.
#include <vector>

#include "rtl/strings.h"

namespace qor::cdtool {

// One line per problem, in a fixed order; empty when the tree is complete.
// cdDir is the CD's root (the folder above the launcher's bin folder). A file
// missing for the launcher and for the checksums is named once.
std::vector<rtl::String> VerifyCdTree(rtl::StringView cdDir);

// folder and name with one separator between them.
rtl::String JoinPath(rtl::StringView folder, rtl::StringView name);

}  // namespace qor::cdtool
