// clang-format off
#include "platform/win32/win32_services.h"
#include <wininet.h>
// clang-format on

namespace qor::platform::win32 {

bool TWin32Internet::QueryConnectedState(std::uint32_t& state) {
  DWORD value = 0, size = sizeof value;
  if (!::InternetQueryOptionW(nullptr, INTERNET_OPTION_CONNECTED_STATE, &value, &size)) return false;
  state = value;
  return true;
}

bool TWin32Internet::SetConnectedState(std::uint32_t state, std::uint32_t flags) {
  INTERNET_CONNECTED_INFO info;
  info.dwConnectedState = state;
  info.dwFlags = flags;
  return ::InternetSetOptionW(nullptr, INTERNET_OPTION_CONNECTED_STATE, &info, sizeof info) != 0;
}

}  // namespace qor::platform::win32
