#pragma once
// The contract of the process-wide exception handler, its procedure types and its slot.
#include <memory>

#include "framework/startup/module_runner.h"
#include "rtl/exceptions.h"
#include "rtl/interfaces.h"

namespace qor {

// Sets Processed to true when it has dealt with E. Sender is any object, or none.
using TExceptionProcessProc = void (*)(void* Sender, rtl::Exception& E, bool& Processed);
// Presents an exception no procedure has dealt with.
using TExceptionShowProc = void (*)(rtl::Exception& E);

class IExceptionHandler : public rtl::IInterface {
 public:
  static constexpr rtl::TGUID IID = rtl::GUID("{B8205FEF-5365-4BEB-B264-C50B854FAA62}");
  using Parent = rtl::IInterface;

  virtual void Register(TExceptionProcessProc AProc) = 0;
  virtual void UnRegister(TExceptionProcessProc AProc) = 0;
  // E is the caller's owning pointer. With NeedFree the handler takes it over and
  // destroys the object after a complete pass (E is empty afterwards); when a
  // procedure raises, E keeps the object. Without NeedFree E is left as it is.
  virtual void ProcessException(std::unique_ptr<rtl::Exception>& E, bool NeedFree) = 0;
  virtual void SetExceptionShowProc(TExceptionShowProc Value) = 0;

 protected:
  ~IExceptionHandler() = default;
};

// The slot; written only through SetExceptionHandler.
const rtl::IPtr<IExceptionHandler>& ExceptionHandler();
// Stores Value and then releases the reference held before.
void SetExceptionHandler(rtl::IPtr<IExceptionHandler> Value);

// Start-up and shut-down both empty the slot.
const startup::TModule& IntfExceptionModule();

}  // namespace qor
