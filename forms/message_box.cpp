#include "forms/message_box.h"

namespace qor::forms {

TBoxRequest MessageBoxRequest(rtl::StringView text, rtl::StringView caption, unsigned flags, INativeWindow* owner) {
  TBoxRequest r;
  r.Owner = owner;
  r.Caption = rtl::String(caption);
  r.Text = rtl::String(text);
  switch (flags & 0xF0u) {
    case MB_ICONERROR: r.Icon = TBoxIcon::Error; break;
    case MB_ICONQUESTION: r.Icon = TBoxIcon::Question; break;
    case MB_ICONWARNING: r.Icon = TBoxIcon::Warning; break;
    case MB_ICONINFORMATION: r.Icon = TBoxIcon::Information; break;
    default: r.Icon = TBoxIcon::None; break;
  }
  auto add = [&](rtl::StringView c, int result) { r.Buttons.push_back(TBoxButton{rtl::String(c), result}); };
  switch (flags & 0x0Fu) {
    case MB_OKCANCEL: add(u"OK", IDOK); add(u"Cancel", IDCANCEL); r.CloseResult = IDCANCEL; break;
    case MB_ABORTRETRYIGNORE:
      add(u"&Abort", IDABORT); add(u"&Retry", IDRETRY); add(u"&Ignore", IDIGNORE); r.CloseResult = IDIGNORE;
      break;
    case MB_YESNOCANCEL:
      add(u"&Yes", IDYES); add(u"&No", IDNO); add(u"Cancel", IDCANCEL); r.CloseResult = IDCANCEL;
      break;
    case MB_YESNO: add(u"&Yes", IDYES); add(u"&No", IDNO); r.CloseResult = IDNO; break;
    case MB_RETRYCANCEL: add(u"&Retry", IDRETRY); add(u"Cancel", IDCANCEL); r.CloseResult = IDCANCEL; break;
    default: add(u"OK", IDOK); r.CloseResult = IDOK; break;
  }
  int def = static_cast<int>((flags >> 8) & 0x0Fu);
  r.DefaultButton = def < static_cast<int>(r.Buttons.size()) ? def : 0;
  return r;
}

rtl::String ErrorBoxText(rtl::StringView message) {
  rtl::String text(message);
  if (!text.empty() && text.back() > u'.') text += u'.';
  return text;
}

}  // namespace qor::forms
