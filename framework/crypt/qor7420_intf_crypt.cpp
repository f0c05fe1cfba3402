#include "framework/crypt/qor7420_intf_crypt.h"

namespace qor {

constinit rtl::IPtr<IQorCryptEngine> CryptEngine;

namespace {
void Finalization() { CryptEngine = nullptr; }
}  // namespace

const startup::TModule& IntfCryptModule() {
  static constexpr startup::TModule module{u"qor7420_intf_crypt", nullptr, &Finalization};
  return module;
}

}  // namespace qor
