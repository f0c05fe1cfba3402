#include <windows.h>

#include "platform/terminal.h"

namespace qor::platform {

namespace {
HANDLE StandardError() { return ::GetStdHandle(STD_ERROR_HANDLE); }
}  // namespace

// A console handle has a console mode; files, pipes and NUL have none.
bool StandardErrorIsTerminal() {
  DWORD mode = 0;
  const HANDLE err = StandardError();
  return err != nullptr && err != INVALID_HANDLE_VALUE && ::GetConsoleMode(err, &mode) != 0;
}

void WriteStandardError(std::string_view bytes) {
  const HANDLE err = StandardError();
  if (err == nullptr || err == INVALID_HANDLE_VALUE) return;
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD put = 0;
    if (!::WriteFile(err, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &put, nullptr) || put == 0)
      return;
    done += put;
  }
}

}  // namespace qor::platform
