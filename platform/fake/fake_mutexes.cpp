#include "platform/fake/fake_platform.h"

namespace qor::platform::fake {

bool TFakeMutexes::IsHeld(rtl::StringView name) const {
  const rtl::String n(name);
  if (FHeld.contains(n)) return true;
  for (const auto& [handle, held] : FOpen)
    if (held == n) return true;
  return false;
}

THandle TFakeMutexes::Create(rtl::StringView name, TSysError& lastError) {
  FCreated.emplace_back(name);
  if (FDenied.contains(rtl::String(name))) {
    lastError = kErrorAccessDenied;
    return kNoHandle;
  }
  lastError = IsHeld(name) ? kErrorAlreadyExists : kErrorSuccess;
  const THandle h = FNext++;
  FOpen[h] = rtl::String(name);
  return h;
}

void TFakeMutexes::Close(THandle mutex) { FOpen.erase(mutex); }

}  // namespace qor::platform::fake
