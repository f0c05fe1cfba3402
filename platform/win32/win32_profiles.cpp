#include "platform/win32/wide.h"
#include "platform/win32/win32_services.h"

namespace qor::platform::win32 {

namespace {
// GetPrivateProfileString* into a buffer grown until the answer fits; reserve is what
// the call keeps back when it truncates (1 for a value, 2 for a list).
template <class Call>
std::vector<wchar_t> GrowingProfileCall(Call call, DWORD reserve) {
  std::vector<wchar_t> buffer(1024);
  for (;;) {
    const DWORD n = call(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n + reserve < buffer.size() || buffer.size() >= (1u << 24)) {
      buffer.resize(n);
      return buffer;
    }
    buffer.resize(buffer.size() * 4);
  }
}

std::vector<rtl::String> SplitList(const std::vector<wchar_t>& list) {
  std::vector<rtl::String> items;
  std::size_t start = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i] == 0) {
      if (i > start) items.emplace_back(U(list.data() + start), i - start);
      start = i + 1;
    }
  }
  if (start < list.size()) items.emplace_back(U(list.data() + start), list.size() - start);
  return items;
}
}  // namespace

rtl::String TWin32Profiles::ReadString(rtl::StringView file, rtl::StringView section, rtl::StringView key,
                                       rtl::StringView def) {
  const rtl::String f = Z(file), s = Z(section), k = Z(key), d = Z(def);
  const std::vector<wchar_t> value = GrowingProfileCall(
      [&](wchar_t* buffer, DWORD size) {
        return ::GetPrivateProfileStringW(W(s.c_str()), W(k.c_str()), W(d.c_str()), buffer, size, W(f.c_str()));
      },
      1);
  return rtl::String(U(value.data()), value.size());
}

std::vector<rtl::String> TWin32Profiles::ReadSectionKeys(rtl::StringView file, rtl::StringView section) {
  const rtl::String f = Z(file), s = Z(section);
  return SplitList(GrowingProfileCall(
      [&](wchar_t* buffer, DWORD size) {
        return ::GetPrivateProfileStringW(W(s.c_str()), nullptr, L"", buffer, size, W(f.c_str()));
      },
      2));
}

std::vector<rtl::String> TWin32Profiles::ReadSectionNames(rtl::StringView file) {
  const rtl::String f = Z(file);
  return SplitList(GrowingProfileCall(
      [&](wchar_t* buffer, DWORD size) { return ::GetPrivateProfileSectionNamesW(buffer, size, W(f.c_str())); }, 2));
}

}  // namespace qor::platform::win32
