#pragma once
// The string list and the exact-text dictionary.
#include <any>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "rtl/exceptions.h"
#include "rtl/strings.h"

namespace qor::rtl {

// A list of strings with an attached object each, name=value access, a settable
// separator and a case-sensitivity switch (ASCII letters; off by default).
class TStringList {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  const String& operator[](int index) const;
  const String& Strings(int index) const { return (*this)[index]; }
  void SetString(int index, String value);
  const std::any& Objects(int index) const;
  void SetObject(int index, std::any object);

  int Add(String s);
  int AddObject(String s, std::any object);
  void Insert(int index, String s);
  void Delete(int index);
  void Clear() { FItems.clear(); }
  int IndexOf(StringView s) const;

  // name=value lines
  char16_t NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char16_t c) { FNameValueSeparator = c; }
  String Names(int index) const;
  String ValueFromIndex(int index) const;
  void SetValueFromIndex(int index, StringView value);  // an empty value deletes the line
  int IndexOfName(StringView name) const;
  String Values(StringView name) const;
  void SetValues(StringView name, StringView value);  // an empty value deletes the line

  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool value) { FCaseSensitive = value; }

  // Lines joined by CR LF, each ended; setting splits at CR LF, LF or CR.
  String Text() const;
  void SetText(StringView text);

 private:
  struct Item {
    String Text;
    std::any Object;
  };
  bool Equal(StringView a, StringView b) const;
  void CheckIndex(int index) const;

  std::vector<Item> FItems;
  char16_t FNameValueSeparator = u'=';
  bool FCaseSensitive = false;
};

// Keys compared by exact text (case-sensitive, no trimming).
template <class V>
class TDictionary {
 public:
  // "Duplicates not allowed"; nothing changes.
  void Add(const String& key, V value) {
    if (FMap.contains(key)) throw EListError(u"Duplicates not allowed");
    FMap.emplace(key, std::move(value));
  }
  void AddOrSetValue(const String& key, V value) { FMap.insert_or_assign(key, std::move(value)); }
  bool ContainsKey(const String& key) const { return FMap.contains(key); }
  bool TryGetValue(const String& key, V& out) const {
    auto it = FMap.find(key);
    if (it == FMap.end()) return false;
    out = it->second;
    return true;
  }
  const V* Find(const String& key) const {
    auto it = FMap.find(key);
    return it == FMap.end() ? nullptr : &it->second;
  }
  void Remove(const String& key) { FMap.erase(key); }
  void Clear() { FMap.clear(); }
  int Count() const { return static_cast<int>(FMap.size()); }
  auto begin() const { return FMap.begin(); }
  auto end() const { return FMap.end(); }

 private:
  std::unordered_map<String, V> FMap;
};

}  // namespace qor::rtl
