#include "platform/command_line.h"

namespace qor::platform {

namespace {
bool Blank(char16_t c) { return c == u' ' || c == u'\t'; }
}  // namespace

TCommandLineToken ProgramToken(rtl::StringView line) {
  std::size_t i = 0;
  while (i < line.size() && Blank(line[i])) ++i;
  TCommandLineToken token;
  if (i < line.size() && line[i] == u'"') {
    const std::size_t close = line.find(u'"', i + 1);
    const std::size_t stop = close == rtl::StringView::npos ? line.size() : close;
    token.Text = rtl::String(line.substr(i + 1, stop - i - 1));
    token.End = close == rtl::StringView::npos ? line.size() : close + 1;
    return token;
  }
  std::size_t j = i;
  while (j < line.size() && !Blank(line[j])) ++j;
  token.Text = rtl::String(line.substr(i, j - i));
  token.End = j;
  return token;
}

std::vector<TCommandLineToken> ProgramTokenCandidates(rtl::StringView line) {
  std::size_t i = 0;
  while (i < line.size() && Blank(line[i])) ++i;
  if (i < line.size() && line[i] == u'"') return {ProgramToken(line)};
  std::vector<TCommandLineToken> candidates;
  std::size_t j = i;
  for (;;) {
    while (j < line.size() && !Blank(line[j])) ++j;
    candidates.push_back({rtl::String(line.substr(i, j - i)), j});
    while (j < line.size() && Blank(line[j])) ++j;
    if (j >= line.size()) break;
  }
  return candidates;
}

std::vector<rtl::String> SplitArguments(rtl::StringView s) {
  std::vector<rtl::String> args;
  std::size_t p = 0;
  for (;;) {
    while (p < s.size() && Blank(s[p])) ++p;
    if (p >= s.size()) break;
    rtl::String arg;
    bool inQuote = false;
    for (;;) {
      bool copy = true;
      std::size_t backslashes = 0;
      while (p < s.size() && s[p] == u'\\') ++p, ++backslashes;
      if (p < s.size() && s[p] == u'"') {
        if (backslashes % 2 == 0) {
          if (inQuote && p + 1 < s.size() && s[p + 1] == u'"') {
            ++p;  // "" inside quotes: one literal quote
          } else {
            copy = false;
            inQuote = !inQuote;
          }
        }
        backslashes /= 2;
      }
      arg.append(backslashes, u'\\');
      if (p >= s.size() || (!inQuote && Blank(s[p]))) break;
      if (copy) arg.push_back(s[p]);
      ++p;
    }
    args.push_back(std::move(arg));
  }
  return args;
}

std::vector<rtl::String> SplitCommandLine(rtl::StringView line) {
  const TCommandLineToken program = ProgramToken(line);
  std::vector<rtl::String> args{program.Text};
  for (rtl::String& a : SplitArguments(line.substr(program.End))) args.push_back(std::move(a));
  return args;
}

rtl::String QuoteArgument(rtl::StringView arg) {
  if (!arg.empty() && arg.find_first_of(u" \t\"") == rtl::StringView::npos) return rtl::String(arg);
  rtl::String out = u"\"";
  std::size_t backslashes = 0;
  for (char16_t c : arg) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    if (c == u'"') {
      out.append(backslashes * 2 + 1, u'\\');
    } else {
      out.append(backslashes, u'\\');
    }
    backslashes = 0;
    out.push_back(c);
  }
  out.append(backslashes * 2, u'\\');
  out.push_back(u'"');
  return out;
}

}  // namespace qor::platform
