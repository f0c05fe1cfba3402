#include "platform/win32/wide.h"
#include "platform/win32/win32_services.h"

namespace qor::platform::win32 {

// The subsystem the program was linked for, read from its own image header.
bool TWin32Console::IsConsoleProgram() {
  const auto* base = reinterpret_cast<const BYTE*>(::GetModuleHandleW(nullptr));
  if (!base) return false;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  return nt->OptionalHeader.Subsystem == IMAGE_SUBSYSTEM_WINDOWS_CUI;
}

void TWin32Console::Write(std::string_view bytes) {
  const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD put = 0;
    if (!::WriteFile(out, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &put, nullptr) || put == 0)
      return;
    done += put;
  }
}

}  // namespace qor::platform::win32
