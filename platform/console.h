#pragma once
// Standard output of a console program, as bytes.
#include <string_view>

namespace qor::platform {

class TConsoleService {
 public:
  virtual ~TConsoleService() = default;
  // Windows: the program is built for the console subsystem. POSIX: standard output
  // is open.
  virtual bool IsConsoleProgram() = 0;
  // Bytes already in the console's code page; failures are ignored.
  virtual void Write(std::string_view bytes) = 0;
  // "\r\n" on Windows, "\n" on POSIX.
  virtual void WriteLineEnd() = 0;
  virtual void Flush() = 0;
};

}  // namespace qor::platform
