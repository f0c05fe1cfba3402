#include "platform/fake/fake_platform.h"

namespace qor::platform::fake {

rtl::String TFakeRegistry::Normal(TRegRoot root, rtl::StringView key) {
  while (!key.empty() && key.front() == u'\\') key.remove_prefix(1);
  while (!key.empty() && key.back() == u'\\') key.remove_suffix(1);
  rtl::String out = root == TRegRoot::CurrentUser ? u"HKCU\\" : u"HKLM\\";
  out += rtl::UpperCase(key);
  return out;
}

void TFakeRegistry::AddKey(TRegRoot root, rtl::StringView key) { FKeys[Normal(root, key)]; }

void TFakeRegistry::SetValue(TRegRoot root, rtl::StringView key, rtl::StringView name, std::uint32_t type,
                             std::vector<std::uint8_t> data) {
  rtl::String valueName = rtl::UpperCase(name);
  FKeys[Normal(root, key)].Values[valueName] = TRegValue{type, std::move(data)};
}

void TFakeRegistry::SetString(TRegRoot root, rtl::StringView key, rtl::StringView name, rtl::StringView value,
                              TRegDataType type) {
  std::vector<std::uint8_t> data;
  for (char16_t c : value) {
    data.push_back(static_cast<std::uint8_t>(c & 0xFF));
    data.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  data.push_back(0);
  data.push_back(0);
  SetValue(root, key, name, static_cast<std::uint32_t>(type), std::move(data));
}

void TFakeRegistry::SetDWord(TRegRoot root, rtl::StringView key, rtl::StringView name, std::uint32_t value) {
  SetValue(root, key, name, static_cast<std::uint32_t>(TRegDataType::DWord),
           {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}

void TFakeRegistry::DenyKey(TRegRoot root, rtl::StringView key) {
  AddKey(root, key);
  FDenied.insert(Normal(root, key));
}

void TFakeRegistry::Clear() {
  FKeys.clear();
  FDenied.clear();
}

bool TFakeRegistry::OpenKey(TRegRoot root, rtl::StringView path, THandle& key) {
  const rtl::String wanted = Normal(root, path);
  bool exists = false;
  for (const auto& [name, k] : FKeys) {
    if (name == wanted || (name.size() > wanted.size() && name.compare(0, wanted.size(), wanted) == 0 &&
                           name[wanted.size()] == u'\\')) {
      exists = true;
      break;
    }
  }
  const bool ok = exists && !FDenied.contains(wanted);
  FOpens.push_back({root, rtl::String(path), ok});
  if (!ok) return false;
  key = FNext++;
  FHandles[key] = wanted;
  return true;
}

bool TFakeRegistry::QueryValue(THandle key, rtl::StringView name, TRegValue& value) {
  auto h = FHandles.find(key);
  if (h == FHandles.end()) return false;
  auto k = FKeys.find(h->second);
  if (k == FKeys.end()) return false;
  auto v = k->second.Values.find(rtl::UpperCase(name));
  if (v == k->second.Values.end()) return false;
  value = v->second;
  return true;
}

void TFakeRegistry::CloseKey(THandle key) { FHandles.erase(key); }

}  // namespace qor::platform::fake
