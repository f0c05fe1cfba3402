#pragma once
// Named mutexes as a running-instance probe.
#include <cstdint>

#include "platform/types.h"
#include "rtl/strings.h"

namespace qor::platform {

inline constexpr TSysError kErrorSuccess = 0;
inline constexpr TSysError kErrorAccessDenied = 5;
inline constexpr TSysError kErrorAlreadyExists = 183;  // ERROR_ALREADY_EXISTS

class TMutexService {
 public:
  virtual ~TMutexService() = default;
  // CreateMutexW(default security, not owned, name) followed at once by GetLastError:
  // returns the handle (kNoHandle when creation failed) and sets lastError, which is
  // kErrorAlreadyExists when the name was held before. The handle holds the name until
  // Close.
  virtual THandle Create(rtl::StringView name, TSysError& lastError) = 0;
  virtual void Close(THandle mutex) = 0;
};

}  // namespace qor::platform
