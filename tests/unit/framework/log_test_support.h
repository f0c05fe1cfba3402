#pragma once
// A recording log appender shared by the logger and exception-handler tests.
#include <string>
#include <vector>

#include "framework/log/qor7420_intf_log.h"
#include "rtl/exceptions.h"

namespace qor::test {

struct TLogEntry {
  std::string Appender;
  TLogLevel Level;
  rtl::String Text;
  rtl::TArgList Args;
};

// Everything the appenders of one test saw, in the order it happened.
struct TLogJournal {
  std::vector<TLogEntry> Messages;
  std::vector<std::string> Events;  // "A:append", "A:setlogger", "A:setlogger-empty"
};

class TRecordingAppender : public rtl::TInterfaced<ILogAppender> {
 public:
  TRecordingAppender(std::string name, TLogJournal& journal) : FName(std::move(name)), FJournal(journal) {}

  void Append(TLogLevel Level, rtl::StringView Text, const rtl::TArgList& Args) override {
    FJournal.Events.push_back(FName + ":append");
    FJournal.Messages.push_back({FName, Level, rtl::String(Text), Args});
    if (Raise) throw rtl::EInvalidOperation(u"appender failed");
  }
  void Flush() override { FJournal.Events.push_back(FName + ":flush"); }
  void SetLogger(const rtl::IPtr<ILogger>& Value) override {
    FJournal.Events.push_back(FName + (Value ? ":setlogger" : ":setlogger-empty"));
    LastLogger = Value.get();
    if (KeepLogger) Logger = Value;
  }
  void Close() override { FJournal.Events.push_back(FName + ":close"); }

  bool Raise = false;
  bool KeepLogger = false;          // hold the reference SetLogger hands over
  rtl::IPtr<ILogger> Logger;        // held only with KeepLogger
  ILogger* LastLogger = nullptr;    // what the last SetLogger passed, not counted

 private:
  std::string FName;
  TLogJournal& FJournal;
};

inline rtl::IPtr<TRecordingAppender> MakeAppender(std::string name, TLogJournal& journal) {
  return rtl::IPtr<TRecordingAppender>(rtl::Create<TRecordingAppender>(std::move(name), journal));
}

}  // namespace qor::test
