#include "platform/fake/fake_platform.h"

namespace qor::platform::fake {

bool TFakeInternet::QueryConnectedState(std::uint32_t& state) {
  if (QueryFails) return false;
  state = State;
  return true;
}

bool TFakeInternet::SetConnectedState(std::uint32_t state, std::uint32_t flags) {
  SetCalls.emplace_back(state, flags);
  State = state;
  return true;
}

}  // namespace qor::platform::fake
