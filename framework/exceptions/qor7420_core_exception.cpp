#include "framework/exceptions/qor7420_core_exception.h"

#include <algorithm>

#include "framework/log/qor7420_intf_log.h"

namespace qor {

void TExceptionHandler::Register(TExceptionProcessProc AProc) { FProcList.insert(FProcList.begin(), AProc); }

void TExceptionHandler::UnRegister(TExceptionProcessProc AProc) {
  auto it = std::find(FProcList.begin(), FProcList.end(), AProc);
  if (it != FProcList.end()) FProcList.erase(it);
}

void TExceptionHandler::ProcessException(std::unique_ptr<rtl::Exception>& E, bool NeedFree) {
  if (!E) throw rtl::EInvalidOperation(u"No exception object to process");
  HandleException(nullptr, *E);
  if (NeedFree) E.reset();
}

void TExceptionHandler::HandleException(void* Sender, rtl::Exception& E) {
  bool Processed = false;
  rtl::IPtr<ILogger> logger = GetLogger();
  logger->Error(u"%s: %s", {rtl::String(E.ClassName()), E.Message()});

  // The count is taken once: a list that shrank during the pass is an index error.
  const std::size_t count = FProcList.size();
  try {
    for (std::size_t i = 0; i < count; ++i) {
      if (i >= FProcList.size()) rtl::ListIndexError(static_cast<long long>(i));
      FProcList[i](Sender, E, Processed);
      if (Processed) break;
    }
  } catch (...) {
    Processed = false;
    throw;
  }
  if (!Processed) ShowException(E);
}

void TExceptionHandler::ShowException(rtl::Exception& E) {
  if (FExceptionShow) FExceptionShow(E);
}

namespace {
void CreateHandler() { SetExceptionHandler(rtl::IPtr<IExceptionHandler>(rtl::Create<TExceptionHandler>())); }
void ReleaseHandler() { SetExceptionHandler(nullptr); }
}  // namespace

const startup::TModule& CoreExceptionModule() {
  static const startup::TModule module{u"qor7420_core_exception", &CreateHandler, &ReleaseHandler};
  return module;
}

}  // namespace qor
