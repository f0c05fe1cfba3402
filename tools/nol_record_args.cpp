// nol_record_args ARGS...
// Writes its arguments, as its runtime split them, and its working folder to the file
// $NOL_RECORD_FILE (UTF-8 lines "cwd=..." and "arg=...", '\', CR and LF escaped,
// then "end"), atomically. With $NOL_RECORD_WAIT set it then waits (at most a minute) until that
// file exists and writes $NOL_RECORD_FILE.done.
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/file_stream.h"
#include "platform/system_platform.h"

using namespace qor;

namespace {
std::string Escaped(const rtl::String& s) {
  std::string out;
  for (char c : rtl::StringToUtf8(s)) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else
      out += c;
  }
  return out;
}

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
  const char* record = std::getenv("NOL_RECORD_FILE");
  if (!record || !*record) return 2;
  const rtl::String recordFile = rtl::Utf8ToString(record);
  std::string text = "cwd=" + Escaped(p->Files().CurrentDirectory()) + "\n";
  for (const rtl::String& a : p->Processes().Arguments()) text += "arg=" + Escaped(a) + "\n";
  WriteAtomically(*p, recordFile, text + "end\n");
  if (const char* wait = std::getenv("NOL_RECORD_WAIT"); wait && *wait) {
    const rtl::String waitFile = rtl::Utf8ToString(wait);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!p->Files().FileExists(waitFile) && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    WriteAtomically(*p, recordFile + u".done", "done\n");
  }
  return 0;
}
