#pragma once
// The exception handler: logs every exception handed to it, offers it to the
// processing procedures newest first, and shows it when none claims it.
#include <vector>

#include "framework/exceptions/qor7420_intf_exception.h"

namespace qor {

class TExceptionHandler : public rtl::TInterfaced<IExceptionHandler> {
 public:
  // At the front, duplicates allowed.
  void Register(TExceptionProcessProc AProc) override;
  // Removes the most recent registration of AProc, if any.
  void UnRegister(TExceptionProcessProc AProc) override;
  // An empty E raises EInvalidOperation and logs nothing.
  void ProcessException(std::unique_ptr<rtl::Exception>& E, bool NeedFree) override;
  void SetExceptionShowProc(TExceptionShowProc Value) override { FExceptionShow = Value; }
  TExceptionShowProc GetExceptionShowProc() const { return FExceptionShow; }

  void HandleException(void* Sender, rtl::Exception& E);
  void ShowException(rtl::Exception& E);

 private:
  std::vector<TExceptionProcessProc> FProcList;  // newest first
  TExceptionShowProc FExceptionShow = nullptr;
};

// Start-up creates the process's handler; shut-down lets it go.
const startup::TModule& CoreExceptionModule();

}  // namespace qor
