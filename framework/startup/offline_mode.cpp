#include "framework/startup/offline_mode.h"

#include "platform/platform.h"

namespace qor {

namespace {
void Initialization() {
  platform::TInternetService& internet = platform::Platform().Internet();
  std::uint32_t state = 0;
  // A failed query counts as online.
  if (!internet.QueryConnectedState(state)) return;
  if ((state & platform::kInternetStateDisconnectedByUser) == 0) return;
  const startup::TStartupUI& ui = startup::StartupUI();
  if (!ui.AskYesNo) return;
  if (ui.AskYesNo(SOfflineModeCaption, SOfflineModeQuestion))
    internet.SetConnectedState(platform::kInternetStateConnected, 0);
}
}  // namespace

const startup::TModule& OfflineModeModule() {
  static const startup::TModule module{u"network settings", &Initialization, nullptr};
  return module;
}

}  // namespace qor
