#include "platform/resource_strings.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_services.h"

namespace qor::platform {

rtl::String ResourceString(unsigned Id, rtl::StringView BuiltIn) {
  // A length of 0 asks for a pointer into the loaded table itself.
  const wchar_t* text = nullptr;
  const int length = ::LoadStringW(::GetModuleHandleW(nullptr), Id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length > 0 && text) return rtl::String(win32::U(text), static_cast<std::size_t>(length));
  return rtl::String(BuiltIn);
}

}  // namespace qor::platform
