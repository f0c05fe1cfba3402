#pragma once
// Tick count, process id and the local time.
#include <cstdint>

#include "rtl/datetime.h"

namespace qor::platform {

class TClockService {
 public:
  virtual ~TClockService() = default;
  // Milliseconds since system start, wrapping at 2^32 (GetTickCount).
  virtual std::uint32_t TickCount() = 0;
  virtual std::uint32_t ProcessId() = 0;
  // The local date and time, to the millisecond.
  virtual rtl::TDateTime Now() = 0;
};

}  // namespace qor::platform
