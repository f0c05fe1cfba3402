#pragma once
// Loads and starts the system's socket library; start-up stops when it cannot.
#include "framework/startup/module_runner.h"
#include "rtl/exceptions.h"

namespace qor {

// Carries the socket library's error code (0 when the library did not load).
class ESocketError : public rtl::Exception {
 public:
  ESocketError(rtl::String message, int errorCode) : Exception(std::move(message)), FErrorCode(errorCode) {}
  int ErrorCode() const { return FErrorCode; }
  rtl::StringView ClassName() const noexcept override { return u"ESocketError"; }
  std::unique_ptr<rtl::Exception> Clone() const override { return std::make_unique<ESocketError>(*this); }

 private:
  int FErrorCode;
};

const startup::TModule& SocketLibraryModule();

}  // namespace qor
