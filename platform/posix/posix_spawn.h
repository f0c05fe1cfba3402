#pragma once
// Finding and starting programs for the substitute: detached children, the PATH search.
#include <string>
#include <vector>

namespace qor::platform::posix {

bool IsRegularFile(const std::string& path);
std::string CurrentFolder();
std::vector<std::string> PathFolders();
// A program of the system, found in PATH only (wine, xdg-open).
std::string FindInPath(const std::string& name);

enum class TImageKind { Native, Windows, Unknown };
// ELF or #! is native, MZ is Windows.
TImageKind KindOf(const std::string& path);

// Starts program detached: its own session, standard streams on /dev/null, reaped by
// init through a double fork. The pid, or 0 with errno set.
int SpawnDetached(const std::string& program, const std::vector<std::string>& args, const std::string& directory);

}  // namespace qor::platform::posix
