#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/posix/posix_services.h"

namespace qor::platform::posix {

namespace {

// A write to a closed pipe raises SIGPIPE, which ends the process before its
// shut-down runs. While a write is in progress the signal is blocked on this
// thread, and one that the write itself raised is taken back, so the write just
// fails, as on Windows; the disposition stays as it is, since started programs
// inherit it.
class TSigPipeBlock {
 public:
  TSigPipeBlock() {
    sigemptyset(&FPipe);
    sigaddset(&FPipe, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    FWasPending = sigismember(&pending, SIGPIPE) == 1;
    FBlocked = pthread_sigmask(SIG_BLOCK, &FPipe, &FPrevious) == 0;
  }
  ~TSigPipeBlock() {
    if (!FBlocked) return;
    if (FRaised && !FWasPending) {
      const struct timespec none = {0, 0};
      while (sigtimedwait(&FPipe, nullptr, &none) < 0 && errno == EINTR) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &FPrevious, nullptr);
  }
  TSigPipeBlock(const TSigPipeBlock&) = delete;
  TSigPipeBlock& operator=(const TSigPipeBlock&) = delete;

  void NoteBrokenPipe() { FRaised = true; }

 private:
  sigset_t FPipe;
  sigset_t FPrevious;
  bool FWasPending = false;
  bool FBlocked = false;
  bool FRaised = false;
};

}  // namespace

bool TPosixConsole::IsConsoleProgram() { return ::fcntl(1, F_GETFD) != -1; }

void TPosixConsole::Write(std::string_view bytes) {
  TSigPipeBlock block;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(1, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EPIPE) block.NoteBrokenPipe();
    if (n <= 0) break;  // a closed or full output loses the text, as on Windows
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace qor::platform::posix
