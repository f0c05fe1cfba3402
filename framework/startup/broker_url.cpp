#include "framework/startup/broker_url.h"

#include "framework/preferences/qor7420_intf_pref.h"

namespace qor {

namespace {
void Initialization() {
  PreferenceManager()->PrefTypeDict().Add(rtl::String(SGeoBrokerUrlPrefName), GeoBrokerUrlPrefType);
}
}  // namespace

const startup::TModule& BrokerUrlModule() {
  static const startup::TModule module{u"broker url", &Initialization, nullptr};
  return module;
}

}  // namespace qor
