#include "framework/exceptions/qor7420_intf_exception.h"

#include <utility>

namespace qor {

namespace {
rtl::IPtr<IExceptionHandler>& HandlerSlot() {
  static rtl::IPtr<IExceptionHandler> slot;
  return slot;
}

void EmptyHandlerSlot() { SetExceptionHandler(nullptr); }
}  // namespace

const rtl::IPtr<IExceptionHandler>& ExceptionHandler() { return HandlerSlot(); }

void SetExceptionHandler(rtl::IPtr<IExceptionHandler> Value) {
  // The old handler is released after the slot holds the new one, so its
  // destruction never sees a half-written slot.
  rtl::IPtr<IExceptionHandler> old = std::exchange(HandlerSlot(), std::move(Value));
  old.reset();
}

const startup::TModule& IntfExceptionModule() {
  static const startup::TModule module{u"qor7420_intf_exception", &EmptyHandlerSlot, &EmptyHandlerSlot};
  return module;
}

}  // namespace qor
