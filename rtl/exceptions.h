#pragma once
// The one exception base of the system and the classes it raises.
#include <exception>
#include <memory>
#include <string>

#include "rtl/strings.h"

namespace qor::rtl {

class Exception : public std::exception {
 public:
  explicit Exception(String message) : FMessage(std::move(message)) {}
  Exception(const Exception&) = default;
  Exception& operator=(const Exception&) = default;
  ~Exception() override = default;

  const String& Message() const noexcept { return FMessage; }
  void SetMessage(String message) { FMessage = std::move(message); FWhat.clear(); }
  virtual StringView ClassName() const noexcept { return u"Exception"; }
  // An exception handed over for later destruction travels as an owning pointer.
  virtual std::unique_ptr<Exception> Clone() const { return std::make_unique<Exception>(*this); }
  const char* what() const noexcept override;

 private:
  String FMessage;
  mutable std::string FWhat;
};

}  // namespace qor::rtl

// Declares an exception class with its literal class name and Clone().
#define QOR_DECLARE_EXCEPTION(Name, Base)                                            \
  class Name : public Base {                                                         \
   public:                                                                           \
    using Base::Base;                                                                \
    ::qor::rtl::StringView ClassName() const noexcept override { return u"" #Name; } \
    std::unique_ptr<::qor::rtl::Exception> Clone() const override {                  \
      return std::make_unique<Name>(*this);                                          \
    }                                                                                \
  }

namespace qor::rtl {

QOR_DECLARE_EXCEPTION(EConvertError, Exception);
QOR_DECLARE_EXCEPTION(EAssertionFailed, Exception);
QOR_DECLARE_EXCEPTION(EListError, Exception);
QOR_DECLARE_EXCEPTION(EStringListError, Exception);
QOR_DECLARE_EXCEPTION(EArgumentOutOfRangeException, Exception);
QOR_DECLARE_EXCEPTION(ERegistryException, Exception);
QOR_DECLARE_EXCEPTION(EStreamError, Exception);
QOR_DECLARE_EXCEPTION(EReadError, EStreamError);
QOR_DECLARE_EXCEPTION(EWriteError, EStreamError);
QOR_DECLARE_EXCEPTION(EFCreateError, EStreamError);
QOR_DECLARE_EXCEPTION(EFOpenError, EStreamError);
QOR_DECLARE_EXCEPTION(EOSError, Exception);
QOR_DECLARE_EXCEPTION(EInvalidOperation, Exception);

// An exception of another kind (std::bad_alloc, a library's std::exception, any
// other thrown value) carried as one of ours: the class name where the runtime
// can tell it, otherwise "Exception", and its what() text.
class EForeignException : public Exception {
 public:
  EForeignException(String className, String message)
      : Exception(std::move(message)), FClassName(std::move(className)) {}
  StringView ClassName() const noexcept override { return FClassName; }
  std::unique_ptr<Exception> Clone() const override { return std::make_unique<EForeignException>(*this); }

 private:
  String FClassName;
};

// Inside a catch block: the exception in flight as one of ours (a copy of an
// Exception, an EForeignException for any other kind).
std::unique_ptr<Exception> CurrentException();

// "Assertion failure (src\unit, line 243)": the platform's assertion message.
[[noreturn]] void AssertionFailed(StringView message, StringView unit, int line);

// The index-out-of-range error of the lists.
[[noreturn]] void ListIndexError(long long index);

}  // namespace qor::rtl
