#include "platform/win32/wide.h"
#include "platform/win32/win32_services.h"

namespace qor::platform::win32 {

std::uint32_t TWin32Clock::TickCount() { return ::GetTickCount(); }
std::uint32_t TWin32Clock::ProcessId() { return ::GetCurrentProcessId(); }

rtl::TDateTime TWin32Clock::Now() {
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  rtl::TDateTime d = 0, t = 0;
  rtl::TryEncodeDate(st.wYear, st.wMonth, st.wDay, d);
  rtl::TryEncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, t);
  return d + t;
}

}  // namespace qor::platform::win32
