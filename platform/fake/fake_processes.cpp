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

}  // namespace qor::platform::fake
