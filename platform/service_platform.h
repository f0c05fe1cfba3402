#pragma once
// A platform made of one object per service. TServices holds them as public members
// named after the services, declared in the order they are built (a service handed
// another in its constructor comes after it); each accessor returns the service as
// its own type, so the fake's tests reach what they set up.
#include "platform/platform.h"

namespace qor::platform {

template <class TServices>
class TServicePlatform : public TPlatform {
 public:
  decltype(TServices::Registry)& Registry() override { return FServices.Registry; }
  decltype(TServices::Mutexes)& Mutexes() override { return FServices.Mutexes; }
  decltype(TServices::Processes)& Processes() override { return FServices.Processes; }
  decltype(TServices::Shell)& Shell() override { return FServices.Shell; }
  decltype(TServices::Files)& Files() override { return FServices.Files; }
  decltype(TServices::Internet)& Internet() override { return FServices.Internet; }
  decltype(TServices::CodePages)& CodePages() override { return FServices.CodePages; }
  decltype(TServices::Profiles)& Profiles() override { return FServices.Profiles; }
  decltype(TServices::Clock)& Clock() override { return FServices.Clock; }
  decltype(TServices::Console)& Console() override { return FServices.Console; }
  decltype(TServices::Locale)& Locale() override { return FServices.Locale; }
  decltype(TServices::Sockets)& Sockets() override { return FServices.Sockets; }

 private:
  TServices FServices;
};

}  // namespace qor::platform
