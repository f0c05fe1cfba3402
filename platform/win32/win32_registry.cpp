#include "platform/win32/wide.h"
#include "platform/win32/win32_services.h"

namespace qor::platform::win32 {

namespace {
HKEY RootKey(TRegRoot root) {
  // The predefined handles are the sign-extended 32-bit values.
  return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(static_cast<std::uint32_t>(root))));
}
}  // namespace

bool TWin32Registry::OpenKey(TRegRoot root, rtl::StringView path, THandle& key) {
  // RegOpenKeyExW rejects a leading backslash.
  while (!path.empty() && path.front() == u'\\') path.remove_prefix(1);
  REGSAM access = KEY_READ;
  // The launcher reads the 32-bit view whatever its own width.
  if constexpr (sizeof(void*) == 8) access |= KEY_WOW64_32KEY;
  HKEY h = nullptr;
  const rtl::String p = Z(path);
  if (::RegOpenKeyExW(RootKey(root), W(p.c_str()), 0, access, &h) != ERROR_SUCCESS) return false;
  key = reinterpret_cast<THandle>(h);
  return true;
}

bool TWin32Registry::QueryValue(THandle key, rtl::StringView name, TRegValue& value) {
  const HKEY h = reinterpret_cast<HKEY>(key);
  const rtl::String n = Z(name);
  DWORD type = 0, size = 0;
  LONG r = ::RegQueryValueExW(h, W(n.c_str()), nullptr, &type, nullptr, &size);
  if (r != ERROR_SUCCESS && r != ERROR_MORE_DATA) return false;
  // The value may grow between the two calls; only the returned size is kept.
  for (int attempt = 0; attempt < 8; ++attempt) {
    std::vector<std::uint8_t> data(size);
    DWORD got = size;
    r = ::RegQueryValueExW(h, W(n.c_str()), nullptr, &type, data.empty() ? nullptr : data.data(), &got);
    if (r == ERROR_SUCCESS) {
      data.resize(got < size ? got : size);
      value.Type = type;
      value.Data = std::move(data);
      return true;
    }
    if (r != ERROR_MORE_DATA) return false;
    size = got > size ? got : size * 2 + 16;
  }
  return false;
}

void TWin32Registry::CloseKey(THandle key) { ::RegCloseKey(reinterpret_cast<HKEY>(key)); }

}  // namespace qor::platform::win32
