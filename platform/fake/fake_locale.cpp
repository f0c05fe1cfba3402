#include "platform/fake/fake_platform.h"

namespace qor::platform::fake {

TFakeLocale::TFakeLocale() {
  // Russian settings, as the user's locale on the CD's machines gives them.
  User = rtl::NeutralFormatSettings();
  User.ThousandSeparator = u'\u00A0';
  User.DecimalSeparator = u',';
  User.DateSeparator = u'.';
  User.TimeSeparator = u':';
  User.ListSeparator = u';';
  User.CurrencyString = u"\u0440.";
  User.ShortDateFormat = u"dd.MM.yyyy";
  User.LongDateFormat = u"d MMMM yyyy '\u0433.'";
  User.ShortTimeFormat = u"h:mm";
  User.LongTimeFormat = u"h:mm:ss";
  User.TimeAMString = u"";
  User.TimePMString = u"";
  System = User;
}

}  // namespace qor::platform::fake
