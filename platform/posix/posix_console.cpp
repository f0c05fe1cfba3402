#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/posix_services.h"

namespace qor::platform::posix {

bool TPosixConsole::IsConsoleProgram() { return ::fcntl(1, F_GETFD) != -1; }

void TPosixConsole::Write(std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(1, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // a closed or full output loses the text, as on Windows
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace qor::platform::posix
