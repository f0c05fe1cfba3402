#pragma once
// The progress line of a long action: percentage and bytes done on standard error,
// redrawn in place, only when standard error is a terminal. It never reaches the
// log or a redirected output.
#include <cstdint>
#include <string>
#include <string_view>

namespace qor::cdtool {

// "Encrypting:  42% (1234567 of 2939000 bytes)", without the carriage return.
std::string ProgressText(std::string_view label, std::int64_t done, std::int64_t total);

class TProgressLine {
 public:
  // A line that shows nothing unless standard error is a terminal.
  explicit TProgressLine(std::string label);
  // Ends the line that was shown.
  ~TProgressLine();
  TProgressLine(const TProgressLine&) = delete;
  TProgressLine& operator=(const TProgressLine&) = delete;

  // Redraws at most every kIntervalMs, and always when done reaches total.
  void Update(std::int64_t done, std::int64_t total);

  static constexpr std::uint32_t kIntervalMs = 250;

 private:
  std::string FLabel;
  bool FEnabled;
  bool FShown = false;
  std::uint32_t FLastTick = 0;
};

}  // namespace qor::cdtool
