// nol_hold_mutex NAME [READYFILE [RELEASEFILE [DIEFILE]]]
// Holds the named mutex until killed, or until RELEASEFILE exists (then it closes the
// mutex and ends), or until DIEFILE exists (then it ends at once without closing
// anything, as a crashing holder does). READYFILE gets "<pid> <last error>" once the
// mutex is held, so a test can wait for it.
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/file_stream.h"
#include "platform/system_platform.h"

using namespace qor;

namespace {
void WriteAtomically(platform::TPlatform& p, const rtl::String& file, const std::string& text) {
  const rtl::String temp = file + u".tmp";
  {
    platform::TFileStream s(temp, platform::TFileStreamMode::Create);
    s.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
  }
  p.Files().Rename(temp, file, true);
}
}  // namespace

int main() {
  std::unique_ptr<platform::TPlatform> p = platform::CreateSystemPlatform();
  platform::TScopedPlatform installed(*p);
  const std::vector<rtl::String> args = p->Processes().Arguments();
  if (args.size() < 2) return 2;
  platform::TSysError error = 0;
  const platform::THandle mutex = p->Mutexes().Create(args[1], error);
  if (mutex == platform::kNoHandle) return 3;
  if (args.size() >= 3)
    WriteAtomically(*p, args[2], std::to_string(p->Clock().ProcessId()) + " " + std::to_string(error));
  for (;;) {
    if (args.size() >= 4 && p->Files().FileExists(args[3])) break;
    if (args.size() >= 5 && p->Files().FileExists(args[4])) std::_Exit(9);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  p->Mutexes().Close(mutex);
  return 0;
}
