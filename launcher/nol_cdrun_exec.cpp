#include "launcher/nol_cdrun_exec.h"

#include <vector>

#include "platform/platform.h"

namespace qor {

bool RunProcess(rtl::StringView CommandLine, std::uint16_t ShowCmd) {
  platform::TStartupInfo startup;
  startup.Flags = platform::kStartfUseShowWindow;
  startup.ShowWindow = ShowCmd;
  // Process creation may write into the command line it is given.
  std::vector<char16_t> buffer(CommandLine.begin(), CommandLine.end());
  buffer.push_back(u'\0');
  platform::TProcessService& processes = platform::Platform().Processes();
  platform::TProcessInformation info;
  if (!processes.Create(buffer.data(), false, platform::kNormalPriorityClass, startup, info)) return false;
  processes.WaitForInputIdle(info.Process, platform::kInfinite);
  processes.CloseHandle(info.Thread);
  processes.CloseHandle(info.Process);
  return true;
}

void ShellOpen(rtl::StringView Document, const std::optional<rtl::String>& Parameters,
               const std::optional<rtl::String>& Directory, int ShowCmd) {
  platform::Platform().Shell().Execute(u"open", Document, Parameters, Directory, ShowCmd);
}

}  // namespace qor
