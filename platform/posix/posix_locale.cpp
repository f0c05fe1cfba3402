#include <langinfo.h>
#include <locale.h>

#include "platform/posix/posix_services.h"
#include "platform/posix/posix_util.h"

namespace qor::platform::posix {

namespace {
std::string Language(const std::string& name) { return name.substr(0, name.find_first_of("_.@")); }

// Windows' settings for the two languages the CD is used with; any system gives them
// alike, whatever locale data it has installed.
rtl::TFormatSettings Russian() {
  rtl::TFormatSettings s = rtl::NeutralFormatSettings();
  s.ThousandSeparator = u'\u00A0';
  s.DecimalSeparator = u',';
  s.DateSeparator = u'.';
  s.TimeSeparator = u':';
  s.ListSeparator = u';';
  s.CurrencyString = u"р.";
  s.CurrencyFormat = 3;
  s.NegCurrFormat = 8;
  s.CurrencyDecimals = 2;
  s.ShortDateFormat = u"dd.MM.yyyy";
  s.LongDateFormat = u"d MMMM yyyy 'г.'";
  s.ShortTimeFormat = u"h:mm";
  s.LongTimeFormat = u"h:mm:ss";
  s.TimeAMString = u"";
  s.TimePMString = u"";
  s.LongMonthNames = {u"Январь", u"Февраль", u"Март",     u"Апрель",  u"Май",    u"Июнь",
                      u"Июль",   u"Август",  u"Сентябрь", u"Октябрь", u"Ноябрь", u"Декабрь"};
  s.ShortMonthNames = {u"янв", u"фев", u"мар", u"апр", u"май", u"июн", u"июл", u"авг", u"сен", u"окт", u"ноя", u"дек"};
  s.LongDayNames = {u"воскресенье", u"понедельник", u"вторник", u"среда", u"четверг", u"пятница", u"суббота"};
  s.ShortDayNames = {u"Вс", u"Пн", u"Вт", u"Ср", u"Чт", u"Пт", u"Сб"};
  return s;
}

// The neutral settings are US English's but for the currency and the patterns.
rtl::TFormatSettings English() {
  rtl::TFormatSettings s = rtl::NeutralFormatSettings();
  s.CurrencyString = u"$";
  s.ShortDateFormat = u"M/d/yyyy";
  s.LongDateFormat = u"dddd, MMMM d, yyyy";
  s.ShortTimeFormat = u"h:mm AMPM";
  s.LongTimeFormat = u"h:mm:ss AMPM";
  return s;
}

rtl::String Info(locale_t loc, nl_item item) { return rtl::Utf8ToString(nl_langinfo_l(item, loc)); }

char16_t FirstSeparator(rtl::StringView pattern, char16_t fallback) {
  for (char16_t c : pattern)
    if (!(c >= u'a' && c <= u'z') && !(c >= u'A' && c <= u'Z') && c != u'"' && c != u'\'' && c != u' ') return c;
  return fallback;
}

// strftime's conversions and the runtime's specifiers for them; any other is dropped.
struct TConversion {
  char16_t Spec;
  std::u16string_view Pattern;
};
constexpr TConversion kConversions[] = {
    {u'd', u"dd"},       {u'e', u"d"},     {u'm', u"mm"},
    {u'y', u"yy"},       {u'Y', u"yyyy"},  {u'b', u"mmm"},
    {u'h', u"mmm"},      {u'B', u"mmmm"},  {u'a', u"ddd"},
    {u'A', u"dddd"},     {u'H', u"hh"},    {u'k', u"h"},
    {u'I', u"hh"},       {u'l', u"h"},     {u'M', u"nn"},
    {u'S', u"ss"},       {u'p', u"AMPM"},  {u'P', u"AMPM"},
    {u'T', u"hh:nn:ss"}, {u'R', u"hh:nn"}, {u'r', u"hh:nn:ss AMPM"},
    {u'D', u"mm/dd/yy"}, {u'F', u"yyyy-mm-dd"},
    {u'n', u" "},        {u't', u" "},
};

// The system default locale as /etc/default/locale names it, else the environment's.
std::string SystemLocaleName() {
  if (const std::optional<std::string> text = ReadWholeFile("/etc/default/locale")) {
    std::size_t pos = text->find("LANG=");
    if (pos != std::string::npos) {
      std::string v = text->substr(pos + 5, text->find('\n', pos) - pos - 5);
      if (!v.empty() && v.front() == '"') v = v.substr(1, v.size() - 2);
      if (!v.empty()) return v;
    }
  }
  return EnvironmentLocale("LC_TIME");
}
}  // namespace

rtl::String TPosixLocale::StrftimeToPattern(std::string_view format) {
  rtl::String out;
  rtl::String literal;
  auto flush = [&] {
    if (literal.empty()) return;
    out += u'"' + literal + u'"';
    literal.clear();
  };
  const rtl::String f = rtl::Utf8ToString(format);
  for (std::size_t i = 0; i < f.size(); ++i) {
    const char16_t c = f[i];
    if (c != u'%' || i + 1 >= f.size()) {
      const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c > 0x7F;
      if (letter) {
        literal.push_back(c);
      } else {
        flush();
        out.push_back(c);
      }
      continue;
    }
    flush();
    char16_t spec = f[++i];
    while ((spec == u'E' || spec == u'O' || spec == u'-' || spec == u'_' || spec == u'0') && i + 1 < f.size())
      spec = f[++i];
    if (spec == u'%') {
      literal.push_back(u'%');
      continue;
    }
    for (const TConversion& conversion : kConversions)
      if (conversion.Spec == spec) out += conversion.Pattern;
  }
  flush();
  return out;
}

rtl::TFormatSettings TPosixLocale::SettingsForLocale(const std::string& name) {
  const std::string language = Language(name);
  if (language == "ru") return Russian();
  if (language == "en" || language == "C" || language == "POSIX" || language.empty()) return English();
  const locale_t loc = newlocale(LC_ALL_MASK, name.c_str(), static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) return English();
  rtl::TFormatSettings s = English();
  const rtl::String radix = Info(loc, RADIXCHAR), thousands = Info(loc, THOUSEP);
  if (!radix.empty()) s.DecimalSeparator = radix[0];
  s.ThousandSeparator = thousands.empty() ? u'\u00A0' : thousands[0];
  s.ShortDateFormat = StrftimeToPattern(nl_langinfo_l(D_FMT, loc));
  s.LongTimeFormat = StrftimeToPattern(nl_langinfo_l(T_FMT, loc));
  s.ShortTimeFormat = rtl::StringReplace(s.LongTimeFormat, u":ss", u"");
  s.DateSeparator = FirstSeparator(s.ShortDateFormat, u'/');
  s.TimeSeparator = FirstSeparator(s.LongTimeFormat, u':');
  s.TimeAMString = Info(loc, AM_STR);
  s.TimePMString = Info(loc, PM_STR);
  for (int m = 0; m < 12; ++m) {
    s.LongMonthNames[m] = Info(loc, static_cast<nl_item>(MON_1 + m));
    s.ShortMonthNames[m] = Info(loc, static_cast<nl_item>(ABMON_1 + m));
  }
  for (int d = 0; d < 7; ++d) {
    s.LongDayNames[d] = Info(loc, static_cast<nl_item>(DAY_1 + d));
    s.ShortDayNames[d] = Info(loc, static_cast<nl_item>(ABDAY_1 + d));
  }
  rtl::String currency = Info(loc, CRNCYSTR);
  if (!currency.empty() && (currency[0] == u'-' || currency[0] == u'+' || currency[0] == u'.')) currency.erase(0, 1);
  if (!currency.empty()) s.CurrencyString = currency;
  freelocale(loc);
  return s;
}

rtl::TFormatSettings TPosixLocale::UserFormatSettings() { return SettingsForLocale(EnvironmentLocale("LC_TIME")); }

rtl::TFormatSettings TPosixLocale::SystemDefaultFormatSettings() { return SettingsForLocale(SystemLocaleName()); }

std::uint32_t TPosixLocale::UserLocaleId() {
  const std::string name = EnvironmentLocale("LC_TIME");
  const std::string language = Language(name);
  const std::string territory = name.size() > language.size() + 1 && name[language.size()] == '_'
                                    ? name.substr(language.size() + 1, 2)
                                    : std::string();
  struct TId {
    const char* Language;
    const char* Territory;
    std::uint32_t Id;
  };
  static constexpr TId kIds[] = {{"ru", "", 0x0419}, {"uk", "", 0x0422}, {"be", "", 0x0423}, {"en", "GB", 0x0809},
                                 {"en", "", 0x0409}, {"de", "", 0x0407}, {"fr", "", 0x040C}, {"it", "", 0x0410},
                                 {"es", "", 0x0C0A}, {"pl", "", 0x0415}, {"kk", "", 0x043F}};
  for (const TId& id : kIds)
    if (language == id.Language && (!*id.Territory || territory == id.Territory)) return id.Id;
  return 0x0409;
}

}  // namespace qor::platform::posix
