#include "platform/win32/wide.h"
#include "platform/win32/win32_services.h"

namespace qor::platform::win32 {

THandle TWin32Mutexes::Create(rtl::StringView name, TSysError& lastError) {
  const rtl::String n = Z(name);
  const HANDLE h = ::CreateMutexW(nullptr, FALSE, n.empty() ? nullptr : W(n.c_str()));
  lastError = ::GetLastError();
  if (!h) return kNoHandle;
  return reinterpret_cast<THandle>(h);
}

void TWin32Mutexes::Close(THandle mutex) {
  if (mutex != kNoHandle) ::CloseHandle(reinterpret_cast<HANDLE>(mutex));
}

}  // namespace qor::platform::win32
