// The Windows command-line rules of the substitute, as pure functions.
#include <gtest/gtest.h>

#include "platform/command_line.h"
#include "unit/platform/command_line_cases.h"

namespace qor::platform {
namespace {

TEST(CommandLine, ArgumentsFollowTheRuntimeRules) {
  for (const auto& c : testing::CommandLineCases())
    EXPECT_EQ(SplitArguments(c.Arguments), c.Expected) << rtl::StringToUtf8(c.Arguments);
}

TEST(CommandLine, QuotingGivesEveryArgumentBack) {
  for (const auto& c : testing::CommandLineCases()) {
    std::u16string line;
    for (const auto& a : c.Expected) line += QuoteArgument(a) + u" ";
    EXPECT_EQ(SplitArguments(line), c.Expected) << rtl::StringToUtf8(c.Arguments);
  }
}

TEST(CommandLine, TheProgramTokenEndsAtTheClosingQuoteOrTheFirstBlank) {
  struct {
    std::u16string_view Line, Program, Rest;
  } cases[] = {
      {u"\"C:\\Program Files\\a.exe\" -x", u"C:\\Program Files\\a.exe", u" -x"},
      {u"  tool.exe a", u"tool.exe", u" a"},
      {u"\"C:\\a b\\x\"y z", u"C:\\a b\\x", u"y z"},  // the quote ends the program, not the argument
      {u"a\\\"b c", u"a\\\"b", u" c"},             // no escapes in the program token
      {u"\"unterminated", u"unterminated", u""},
      {u"", u"", u""},
  };
  for (const auto& c : cases) {
    const TCommandLineToken t = ProgramToken(c.Line);
    EXPECT_EQ(t.Text, c.Program) << rtl::StringToUtf8(c.Line);
    EXPECT_EQ(c.Line.substr(t.End), c.Rest) << rtl::StringToUtf8(c.Line);
  }
}

TEST(CommandLine, AnUnquotedProgramWithBlanksIsTriedAtEachBlank) {
  const auto candidates = ProgramTokenCandidates(u"C:\\Program Files\\My App\\run.exe /s");
  std::vector<std::u16string> texts;
  for (const auto& c : candidates) texts.push_back(c.Text);
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"C:\\Program", u"C:\\Program Files\\My",
                                                u"C:\\Program Files\\My App\\run.exe",
                                                u"C:\\Program Files\\My App\\run.exe /s"}));
  EXPECT_EQ(ProgramTokenCandidates(u"\"C:\\a b\\c.exe\" d").size(), 1u);
}

}  // namespace
}  // namespace qor::platform
