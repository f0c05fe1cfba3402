#include "rtl/classes.h"

namespace qor::rtl {

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) ListIndexError(index);
}

bool TStringList::Equal(StringView a, StringView b) const { return FCaseSensitive ? a == b : SameTextAscii(a, b); }

const String& TStringList::operator[](int index) const {
  CheckIndex(index);
  return FItems[static_cast<std::size_t>(index)].Text;
}

void TStringList::SetString(int index, String value) {
  CheckIndex(index);
  FItems[static_cast<std::size_t>(index)].Text = std::move(value);
}

const std::any& TStringList::Objects(int index) const {
  CheckIndex(index);
  return FItems[static_cast<std::size_t>(index)].Object;
}

void TStringList::SetObject(int index, std::any object) {
  CheckIndex(index);
  FItems[static_cast<std::size_t>(index)].Object = std::move(object);
}

int TStringList::Add(String s) { return AddObject(std::move(s), {}); }

int TStringList::AddObject(String s, std::any object) {
  FItems.push_back({std::move(s), std::move(object)});
  return Count() - 1;
}

void TStringList::Insert(int index, String s) {
  if (index < 0 || index > Count()) ListIndexError(index);
  FItems.insert(FItems.begin() + index, Item{std::move(s), {}});
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  FItems.erase(FItems.begin() + index);
}

int TStringList::IndexOf(StringView s) const {
  for (int i = 0; i < Count(); ++i)
    if (Equal(FItems[static_cast<std::size_t>(i)].Text, s)) return i;
  return -1;
}

String TStringList::Names(int index) const {
  const String& s = (*this)[index];
  const auto p = s.find(FNameValueSeparator);
  return p == String::npos ? String() : s.substr(0, p);
}

String TStringList::ValueFromIndex(int index) const {
  const String& s = (*this)[index];
  const auto p = s.find(FNameValueSeparator);
  return p == String::npos ? String() : s.substr(p + 1);
}

void TStringList::SetValueFromIndex(int index, StringView value) {
  if (value.empty()) {
    Delete(index);
    return;
  }
  String line = Names(index);
  line.push_back(FNameValueSeparator);
  line += value;
  SetString(index, std::move(line));
}

int TStringList::IndexOfName(StringView name) const {
  for (int i = 0; i < Count(); ++i) {
    const String& s = FItems[static_cast<std::size_t>(i)].Text;
    const auto p = s.find(FNameValueSeparator);
    if (p != String::npos && Equal(StringView(s).substr(0, p), name)) return i;
  }
  return -1;
}

String TStringList::Values(StringView name) const {
  const int i = IndexOfName(name);
  return i < 0 ? String() : ValueFromIndex(i);
}

void TStringList::SetValues(StringView name, StringView value) {
  const int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  String line(name);
  line.push_back(FNameValueSeparator);
  line += value;
  if (i < 0)
    Add(std::move(line));
  else
    SetString(i, std::move(line));
}

String TStringList::Text() const {
  String out;
  for (const Item& item : FItems) {
    out += item.Text;
    out += u"\r\n";
  }
  return out;
}

void TStringList::SetText(StringView text) {
  FItems.clear();
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    std::size_t j = i;
    while (j < n && text[j] != u'\r' && text[j] != u'\n') ++j;
    Add(String(text.substr(i, j - i)));
    if (j < n && text[j] == u'\r') {
      ++j;
      if (j < n && text[j] == u'\n') ++j;
    } else if (j < n) {
      ++j;
    }
    i = j;
  }
}

}  // namespace qor::rtl
