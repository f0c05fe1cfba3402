#include "platform/fake/fake_platform.h"

namespace qor::platform::fake {

bool TFakeProcesses::Create(char16_t* commandLine, bool inheritHandles, std::uint32_t creationFlags,
                            const TStartupInfo& startup, TProcessInformation& info) {
  rtl::String line(commandLine);
  FCalls.push_back({line, inheritHandles, creationFlags, startup});
  if (ScribbleOnCommandLine)
    for (char16_t* p = commandLine; *p; ++p) *p = u'#';
  if (Succeeds && !Succeeds(line)) return false;
  info.Process = FNext++;
  info.Thread = FNext++;
  info.ProcessId = static_cast<std::uint32_t>(info.Process);
  info.ThreadId = static_cast<std::uint32_t>(info.Thread);
  FOpen.insert(info.Process);
  FOpen.insert(info.Thread);
  return true;
}

std::uint32_t TFakeProcesses::WaitForInputIdle(THandle process, std::uint32_t milliseconds) {
  FWaits.emplace_back(process, milliseconds);
  return WaitResult;
}

void TFakeProcesses::CloseHandle(THandle handle) { FOpen.erase(handle); }

std::intptr_t TFakeShell::Execute(rtl::StringView verb, rtl::StringView file,
                                  const std::optional<rtl::String>& parameters,
                                  const std::optional<rtl::String>& directory, int showCmd) {
  FCalls.push_back({rtl::String(verb), rtl::String(file), parameters, directory, showCmd});
  return Result;
}

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
