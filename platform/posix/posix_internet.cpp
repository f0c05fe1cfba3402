// The offline mode read from the substitute registry.
#include "platform/posix/posix_services.h"
#include "platform/posix/posix_util.h"

namespace qor::platform::posix {

bool TPosixInternet::QueryConnectedState(std::uint32_t& state) {
  if (FState) {
    state = *FState;
    return true;
  }
  state = kInternetStateConnected;
  const TRegStoreKey* key =
      FStore.FindKey(TRegRoot::CurrentUser, u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings");
  if (!key) return true;
  auto v = key->Values.find(u"GLOBALUSEROFFLINE");
  if (v == key->Values.end()) return true;
  const TRegValue& value = v->second.Value;
  if (value.Type == static_cast<std::uint32_t>(TRegDataType::DWord) && value.Data.size() == 4 &&
      (value.Data[0] | value.Data[1] << 8 | value.Data[2] << 16 | static_cast<std::uint32_t>(value.Data[3]) << 24) == 1)
    state = kInternetStateDisconnectedByUser;
  return true;
}

bool TPosixInternet::SetConnectedState(std::uint32_t state, std::uint32_t) {
  FState = state;
  return true;
}

}  // namespace qor::platform::posix
