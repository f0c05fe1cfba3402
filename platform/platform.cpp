#include "platform/platform.h"

namespace qor::platform {

namespace {
TPlatform*& Slot() {
  static TPlatform* platform = nullptr;
  return platform;
}
}  // namespace

TPlatform& Platform() {
  TPlatform* p = Slot();
  if (!p) throw rtl::EInvalidOperation(u"No platform installed");
  return *p;
}

bool PlatformInstalled() { return Slot() != nullptr; }

TPlatform* SetPlatform(TPlatform* platform) {
  TPlatform* previous = Slot();
  Slot() = platform;
  return previous;
}

}  // namespace qor::platform
