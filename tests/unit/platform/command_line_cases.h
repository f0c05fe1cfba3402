#pragma once
// Command lines and the argument vectors a program started from them sees: the program
// token by the process-creation rules, the rest by the C runtime's. The platform tests
// run the same table through real process creation (the substitute natively, Windows
// under Wine) and a stub that records its arguments.
#include <string>
#include <vector>

namespace qor::platform::testing {

struct TCommandLineCase {
  std::u16string Arguments;            // what follows the program token
  std::vector<std::u16string> Expected;  // argv[1..]
};

inline const std::vector<TCommandLineCase>& CommandLineCases() {
  static const std::vector<TCommandLineCase> cases = {
      {u"", {}},
      {u"a b  c", {u"a", u"b", u"c"}},
      {u"\t a\tb ", {u"a", u"b"}},
      {u"\"two words\" x", {u"two words", u"x"}},
      {u"/update /update_path \"D:\\Q\\upd\\\"", {u"/update", u"/update_path", u"D:\\Q\\upd\""}},
      {u"/update /update_path \"D:\\Q\\upd\\\\\"", {u"/update", u"/update_path", u"D:\\Q\\upd\\"}},
      {u"a\\\\b c\\d", {u"a\\\\b", u"c\\d"}},
      {u"a\\\"b", {u"a\"b"}},
      {u"a\\\\\\\"b", {u"a\\\"b"}},
      {u"a\\\\\"b c\"", {u"a\\b c"}},
      {u"pre\"mid dle\"post", {u"premid dlepost"}},
      {u"\"\" x", {u"", u"x"}},
      {u"\"a\"\"b\"", {u"a\"b"}},
      {u"\"unterminated arg", {u"unterminated arg"}},
      {u"Привет \"мир вокруг\"", {u"Привет", u"мир вокруг"}},
  };
  return cases;
}

}  // namespace qor::platform::testing
