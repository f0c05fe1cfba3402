#pragma once
// Registers the type code of the broker URL preference.
#include "framework/startup/module_runner.h"
#include "rtl/strings.h"

namespace qor {

// The string resource that names the preference.
inline constexpr rtl::StringView SGeoBrokerUrlPrefName = u"prf_geo_broker_url";
inline constexpr std::uint16_t GeoBrokerUrlPrefType = 8;

const startup::TModule& BrokerUrlModule();

}  // namespace qor
