#include <sys/stat.h>

#include <cerrno>

#include "platform/posix/posix_services.h"
#include "platform/posix/posix_util.h"
#include "rtl/format.h"

namespace qor::platform::posix {

namespace {
std::vector<std::string> RegistryFiles() {
  std::vector<std::string> files;
  if (const std::optional<std::string> list = Env("NOL_REGISTRY")) {
    std::size_t start = 0;
    while (start <= list->size()) {
      std::size_t end = list->find(':', start);
      if (end == std::string::npos) end = list->size();
      if (end > start) files.push_back(list->substr(start, end - start));
      start = end + 1;
    }
    return files;
  }
  std::string config;
  if (const auto xdg = Env("XDG_CONFIG_HOME"); xdg && !xdg->empty())
    config = *xdg;
  else if (const auto home = Env("HOME"); home && !home->empty())
    config = *home + "/.config";
  else
    return files;
  const std::string file = config + "/nol/registry.reg";
  struct stat st;
  if (::stat(file.c_str(), &st) == 0) files.push_back(file);
  return files;
}
}  // namespace

TPosixRegistry::TPosixRegistry(TCodePageService& codePages) {
  const TAnsiDecoder ansi = [&codePages](std::string_view s) { return codePages.AnsiToUnicode(s); };
  for (const std::string& file : RegistryFiles()) {
    const std::optional<std::string> bytes = ReadWholeFile(file);
    if (!bytes)
      throw ERegistryFileError(rtl::Format(u"%s: cannot read the registry file: %s", {FromFs(file), ErrnoText(errno)}));
    FStore.Load(*bytes, FromFs(file), ansi);
  }
}

bool TPosixRegistry::OpenKey(TRegRoot root, rtl::StringView path, THandle& key) {
  const TRegStoreKey* found = FStore.FindKey(root, path);
  if (!found) return false;
  std::lock_guard<std::mutex> lock(FLock);
  key = FNext++;
  FOpen[key] = found;
  return true;
}

bool TPosixRegistry::QueryValue(THandle key, rtl::StringView name, TRegValue& value) {
  std::lock_guard<std::mutex> lock(FLock);
  auto it = FOpen.find(key);
  if (it == FOpen.end()) return false;
  auto v = it->second->Values.find(rtl::UpperCase(name));
  if (v == it->second->Values.end()) return false;
  value = v->second.Value;
  return true;
}

void TPosixRegistry::CloseKey(THandle key) {
  std::lock_guard<std::mutex> lock(FLock);
  FOpen.erase(key);
}

}  // namespace qor::platform::posix
