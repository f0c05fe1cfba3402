#include "framework/startup/socket_library.h"

#include "platform/platform.h"

namespace qor {

namespace {
bool& Started() {
  static bool started = false;
  return started;
}
void Initialization() {
  if (!platform::Platform().Sockets().Startup()) throw ESocketError(u"Error loading Socket interface (ws2_32.dll)!", 0);
  Started() = true;
}
void Finalization() {
  if (!Started()) return;
  Started() = false;
  platform::Platform().Sockets().Cleanup();
}
}  // namespace

const startup::TModule& SocketLibraryModule() {
  static const startup::TModule module{u"socket library", &Initialization, &Finalization};
  return module;
}

}  // namespace qor
