#include "framework/startup/framework_modules.h"

#include "framework/console/nol_console.h"
#include "framework/crypt/qor7420_core_crypt.h"
#include "framework/crypt/qor7420_intf_crypt.h"
#include "framework/exceptions/qor7420_core_exception.h"
#include "framework/exceptions/qor7420_intf_exception.h"
#include "framework/log/qor7420_intf_log.h"
#include "framework/preferences/qor7420_intf_pref.h"
#include "framework/preferences/qor7420_pref_core.h"
#include "framework/startup/broker_url.h"
#include "framework/startup/fixed_format_settings.h"
#include "framework/startup/locale_defaults.h"
#include "framework/startup/offline_mode.h"
#include "framework/startup/program_file_date.h"
#include "framework/startup/runtime_locale.h"
#include "framework/startup/socket_library.h"

namespace qor {

startup::TModuleTable FrameworkModules(const TFrameworkOptions& options) {
  startup::TModuleTable table{
      RuntimeLocaleModule(),       // the runtime's own: defaults from the user's locale
      IntfPrefModule(),            // 1
      IntfExceptionModule(),       // 2
      LogModule(),                 // 3
      CoreExceptionModule(),       // 4
      IntfCryptModule(),           // 5
      CoreCryptModule(),           // 6
      PrefCoreModule(),            // 7
      LocaleDefaultsModule(),      // 8
      FixedFormatSettingsModule(),  // 9
      SocketLibraryModule(),       // the socket library, between 9 and 10
  };
  if (options.OfflineModeCheck) table.push_back(OfflineModeModule());  // 10
  table.push_back(BrokerUrlModule());        // 11
  table.push_back(ConsoleModule());          // 12
  table.push_back(ProgramFileDateModule());  // 13
  return table;
}

}  // namespace qor
