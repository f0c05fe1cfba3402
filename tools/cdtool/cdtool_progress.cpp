#include "tools/cdtool/cdtool_progress.h"

#include <algorithm>

#include "platform/platform.h"
#include "platform/terminal.h"

namespace qor::cdtool {

std::string ProgressText(std::string_view label, std::int64_t done, std::int64_t total) {
  const std::int64_t percent = total > 0 ? done * 100 / total : 100;
  std::string text(label);
  text += ": ";
  const std::string digits = std::to_string(percent);
  text.append(3 - std::min<std::size_t>(3, digits.size()), ' ');
  text += digits + "% (" + std::to_string(done) + " of " + std::to_string(total) + " bytes)";
  return text;
}

TProgressLine::TProgressLine(std::string label)
    : FLabel(std::move(label)), FEnabled(platform::StandardErrorIsTerminal()) {}

TProgressLine::~TProgressLine() {
  if (FShown) platform::WriteStandardError("\n");
}

void TProgressLine::Update(std::int64_t done, std::int64_t total) {
  if (!FEnabled) return;
  const std::uint32_t now = platform::Platform().Clock().TickCount();
  if (FShown && done < total && now - FLastTick < kIntervalMs) return;
  FLastTick = now;
  FShown = true;
  std::string line = "\r";
  line += ProgressText(FLabel, done, total);
  platform::WriteStandardError(line);
}

}  // namespace qor::cdtool
