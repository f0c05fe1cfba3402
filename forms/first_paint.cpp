#include "forms/first_paint.h"

#include <charconv>
#include <cstdlib>
#include <string>

#include "platform/platform.h"

namespace qor::forms {

rtl::String FirstPaintFileName() {
  // The C runtime's environment: the platform layer has no service for it.
  const char* value = std::getenv("NOL_FIRST_PAINT");
  return value ? rtl::Utf8ToString(value) : rtl::String();
}

namespace {

std::string Number(int v) {
  char buf[16];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

}  // namespace

void WriteFirstPaintFile(rtl::StringView path, TSize clientSize, rtl::StringView caption) noexcept {
  try {
    if (path.empty() || !platform::PlatformInstalled()) return;
    platform::TFileService& files = platform::Platform().Files();
    std::string text = Number(clientSize.Width) + "x" + Number(clientSize.Height) + "\n" +
                       rtl::StringToUtf8(caption) + "\n";
    rtl::String temp = rtl::String(path) + u".tmp";
    platform::TSysError error = 0;
    platform::THandle h =
        files.OpenFile(temp, platform::TFileAccess::Write, platform::TFileCreation::CreateAlways, false, error);
    if (h == platform::kNoHandle) return;
    bool ok = files.Write(h, text.data(), static_cast<std::int64_t>(text.size())) ==
              static_cast<std::int64_t>(text.size());
    files.CloseFile(h);
    if (!ok || !files.Rename(temp, path, true)) files.Delete(temp);
  } catch (...) {
  }
}

}  // namespace qor::forms
