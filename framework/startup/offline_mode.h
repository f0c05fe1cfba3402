#pragma once
// Asks the user to leave the system's internet offline mode when it is set.
#include "framework/startup/module_runner.h"
#include "rtl/strings.h"

namespace qor {

inline constexpr rtl::StringView SOfflineModeCaption = u"Подтверждение";
inline constexpr rtl::StringView SOfflineModeQuestion =
    u"Подключение к интернету установлено в автономный режим.\r\n"
    u"В таком состоянии работа программы будет некорректна.\r\n"
    u"Выключить автономный режим?";

const startup::TModule& OfflineModeModule();

}  // namespace qor
