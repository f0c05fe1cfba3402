#pragma once
// Windows command lines: the program token by the process-creation rules, the
// arguments by the C runtime's rules, and quoting an argument back.
#include <vector>

#include "rtl/strings.h"

namespace qor::platform {

struct TCommandLineToken {
  rtl::String Text;       // the token without its quotes
  std::size_t End = 0;    // index just past it in the command line
};

// Process creation: a leading quote runs to the next quote; otherwise the token ends
// at the first blank or tab. Leading blanks are skipped.
TCommandLineToken ProgramToken(rtl::StringView commandLine);

// The candidates process creation tries for an unquoted first token with blanks:
// "c:\a b\c d" gives "c:\a", "c:\a b\c", "c:\a b\c d", each with its end index.
std::vector<TCommandLineToken> ProgramTokenCandidates(rtl::StringView commandLine);

// The C runtime's split of the arguments after the program: blanks separate; quotes
// group and are removed; 2n backslashes before a quote give n and the quote counts,
// 2n+1 give n and a literal quote; "" inside quotes is a literal quote.
std::vector<rtl::String> SplitArguments(rtl::StringView arguments);

// Program token and arguments together, as a child started from this line sees them.
std::vector<rtl::String> SplitCommandLine(rtl::StringView commandLine);

// Quotes an argument so that SplitArguments gives it back unchanged.
rtl::String QuoteArgument(rtl::StringView argument);

}  // namespace qor::platform
