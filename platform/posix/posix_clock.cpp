#include <unistd.h>

#include <ctime>

#include "platform/posix/posix_services.h"

namespace qor::platform::posix {

std::uint32_t TPosixClock::TickCount() {
  struct timespec ts;
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  const std::uint64_t ms =
      static_cast<std::uint64_t>(ts.tv_sec) * 1000u + static_cast<std::uint64_t>(ts.tv_nsec / 1000000);
  return static_cast<std::uint32_t>(ms);
}

std::uint32_t TPosixClock::ProcessId() { return static_cast<std::uint32_t>(::getpid()); }

rtl::TDateTime TPosixClock::Now() {
  struct timespec ts;
  ::clock_gettime(CLOCK_REALTIME, &ts);
  struct tm tm;
  if (!::localtime_r(&ts.tv_sec, &tm)) return 0;
  rtl::TDateTime d = 0, t = 0;
  rtl::TryEncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, d);
  rtl::TryEncodeTime(tm.tm_hour, tm.tm_min, tm.tm_sec > 59 ? 59 : tm.tm_sec, static_cast<int>(ts.tv_nsec / 1000000), t);
  return d + t;
}

}  // namespace qor::platform::posix
