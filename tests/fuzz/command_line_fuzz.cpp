// libFuzzer target: the Windows command-line splitter. Every line splits without a
// fault, and quoting the arguments back gives a line that splits to the same list.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz_input.h"
#include "platform/command_line.h"

using namespace qor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput input(data, size);
  const rtl::String line = input.Latin1(size);

  const std::vector<rtl::String> args = platform::SplitArguments(line);
  rtl::String quoted;
  for (const rtl::String& a : args) {
    if (!quoted.empty()) quoted.push_back(u' ');
    quoted += platform::QuoteArgument(a);
  }
  if (platform::SplitArguments(quoted) != args) std::abort();

  const platform::TCommandLineToken program = platform::ProgramToken(line);
  if (program.End > line.size()) std::abort();
  const std::vector<rtl::String> all = platform::SplitCommandLine(line);
  if (all.empty() || all[0] != program.Text) std::abort();

  std::size_t lastEnd = 0;
  for (const platform::TCommandLineToken& candidate : platform::ProgramTokenCandidates(line)) {
    if (candidate.End > line.size() || candidate.End < lastEnd) std::abort();
    lastEnd = candidate.End;
  }
  return 0;
}
