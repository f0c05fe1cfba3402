#pragma once
// The process's internet connected state (INTERNET_OPTION_CONNECTED_STATE).
#include <cstdint>

namespace qor::platform {

inline constexpr std::uint32_t kInternetStateConnected = 0x01;
inline constexpr std::uint32_t kInternetStateDisconnected = 0x02;
inline constexpr std::uint32_t kInternetStateDisconnectedByUser = 0x10;

class TInternetService {
 public:
  virtual ~TInternetService() = default;
  // InternetQueryOptionW(no handle, INTERNET_OPTION_CONNECTED_STATE) into 4 bytes.
  virtual bool QueryConnectedState(std::uint32_t& state) = 0;
  // InternetSetOptionW(no handle, INTERNET_OPTION_CONNECTED_STATE) with the 8-byte
  // record {state, flags}; changes this process's state only.
  virtual bool SetConnectedState(std::uint32_t state, std::uint32_t flags) = 0;
};

}  // namespace qor::platform
