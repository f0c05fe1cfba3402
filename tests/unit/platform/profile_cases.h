#pragma once
// One initialisation file and what the profile functions answer for it, as Windows
// (here: Wine's GetPrivateProfileStringW) gives it. The fake, the substitute and the
// Windows backend are all checked against this table.
#include <string>
#include <vector>

namespace qor::platform::testing {

inline constexpr char kProfileText[] =
    "Top=1\r\n"
    "[Main]\r\n"
    " LogFile = job_@@param@.log  \r\n"
    "PidFile=\"C:\\run\\tool.pid\"\r\n"
    "Single='single'\r\n"
    "Unbalanced=\"open\r\n"
    "Inner=\" inner \"\r\n"
    ";comment=5\r\n"
    "NoEquals\r\n"
    "Pair=a=b\r\n"
    "logfile=second\r\n"
    "Mixed = \"x\" y\r\n"
    "Empty=\"\"\r\n"
    "Blank=\r\n"
    "[Dup]\r\n"
    "X=1\r\n"
    "[ Spaced ]\r\n"
    "K=sp\r\n"
    "[dup]\r\n"
    "Y=2\r\n"
    "X=3\r\n";

struct TProfileCase {
  std::u16string Section, Key, Expected;  // "<def>" is the default passed in
};

inline const std::vector<TProfileCase>& ProfileCases() {
  static const std::vector<TProfileCase> cases = {
      {u"Main", u"LogFile", u"job_@@param@.log"},
      {u"MAIN", u"logfile", u"job_@@param@.log"},  // the first of two keys
      {u"Main", u"PidFile", u"C:\\run\\tool.pid"},
      {u"Main", u"Single", u"single"},
      {u"Main", u"Unbalanced", u"\"open"},
      {u"Main", u"Inner", u" inner "},
      {u"Main", u"NoEquals", u"<def>"},
      {u"Main", u"Pair", u"a=b"},
      {u"Main", u"Mixed", u"\"x\" y"},
      {u"Main", u"Empty", u""},
      {u"Main", u"Blank", u""},
      {u"Main", u"Missing", u"<def>"},
      {u"Dup", u"X", u"1"},
      {u"Dup", u"Y", u"<def>"},  // only the first section of a name is read
      {u"Spaced", u"K", u"sp"},
      {u" Spaced ", u"K", u"sp"},
      {u"", u"Top", u"1"},
      {u"Nowhere", u"X", u"<def>"},
  };
  return cases;
}

inline const std::vector<std::u16string>& ProfileMainKeys() {
  static const std::vector<std::u16string> keys = {u"LogFile", u"PidFile", u"Single", u"Unbalanced", u"Inner",
                                                   u"Pair",    u"logfile", u"Mixed",  u"Empty",      u"Blank"};
  return keys;
}

inline const std::vector<std::u16string>& ProfileSectionNames() {
  static const std::vector<std::u16string> names = {u"Main", u"Dup", u"Spaced", u"dup"};
  return names;
}

}  // namespace qor::platform::testing
