#include "platform/command_line.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_services.h"

// The C runtime's own split of the command line (msvcrt).
extern "C" {
struct nol_startupinfo {
  int newmode;
};
int __wgetmainargs(int* argc, wchar_t*** argv, wchar_t*** env, int glob, nol_startupinfo* info);
}

namespace qor::platform::win32 {

bool TWin32Processes::Create(char16_t* commandLine, bool inheritHandles, std::uint32_t creationFlags,
                             const TStartupInfo& startup, TProcessInformation& info) {
  STARTUPINFOW si;
  ZeroMemory(&si, sizeof si);
  si.cb = sizeof si;
  si.dwFlags = startup.Flags;
  si.wShowWindow = startup.ShowWindow;
  PROCESS_INFORMATION pi;
  ZeroMemory(&pi, sizeof pi);
  if (!::CreateProcessW(nullptr, W(commandLine), nullptr, nullptr, inheritHandles ? TRUE : FALSE, creationFlags,
                        nullptr, nullptr, &si, &pi))
    return false;
  info.Process = reinterpret_cast<THandle>(pi.hProcess);
  info.Thread = reinterpret_cast<THandle>(pi.hThread);
  info.ProcessId = pi.dwProcessId;
  info.ThreadId = pi.dwThreadId;
  return true;
}

std::uint32_t TWin32Processes::WaitForInputIdle(THandle process, std::uint32_t milliseconds) {
  return ::WaitForInputIdle(reinterpret_cast<HANDLE>(process), milliseconds);
}

void TWin32Processes::CloseHandle(THandle handle) {
  if (handle != kNoHandle) ::CloseHandle(reinterpret_cast<HANDLE>(handle));
}

std::vector<rtl::String> TWin32Processes::Arguments() {
  std::vector<rtl::String> args;
  int argc = 0;
  wchar_t** argv = nullptr;
  wchar_t** env = nullptr;
  nol_startupinfo si{0};
  if (__wgetmainargs(&argc, &argv, &env, 0, &si) >= 0 && argv) {
    for (int i = 0; i < argc; ++i) args.emplace_back(U(argv[i]));
    return args;
  }
  return SplitCommandLine(U(::GetCommandLineW()));
}

}  // namespace qor::platform::win32
