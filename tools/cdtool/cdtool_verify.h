#pragma once
// The check of a CD tree: every file the launcher refers to exists, and its
// pictures decode.
#include <vector>

#include "rtl/strings.h"

namespace qor::cdtool {

// One line per problem, in a fixed order; empty when the tree is complete.
// cdDir is the CD's root (the folder above the launcher's bin folder).
std::vector<rtl::String> VerifyCdTree(rtl::StringView cdDir);

}  // namespace qor::cdtool
