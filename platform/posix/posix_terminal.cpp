#include <unistd.h>

#include <cerrno>

#include "platform/terminal.h"

namespace qor::platform {

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

void WriteStandardError(std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(STDERR_FILENO, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace qor::platform
