#include "framework/log/qor7420_intf_log.h"

#include "rtl/exceptions.h"

namespace qor {

namespace {
const rtl::TArgList& NoArgs() {
  static const rtl::TArgList none;
  return none;
}

rtl::IPtr<ILogger>& LoggerSlot() {
  static rtl::IPtr<ILogger> slot;
  return slot;
}
}  // namespace

void TLogger::Register(const rtl::IPtr<ILogAppender>& Appender) {
  if (!Appender) throw rtl::EInvalidOperation(u"Cannot register an empty log appender");
  FAppenderList.push_back(Appender);
  Appender->SetLogger(rtl::IPtr<ILogger>(this));
}

void TLogger::UnRegister(const rtl::IPtr<ILogAppender>& Appender) {
  if (!Appender) return;
  // Keeps the appender alive through SetLogger even when the list held the last reference.
  rtl::IPtr<ILogAppender> keep = Appender;
  for (auto it = FAppenderList.begin(); it != FAppenderList.end(); ++it) {
    if (*it == keep) {
      FAppenderList.erase(it);
      break;
    }
  }
  keep->SetLogger(nullptr);
}

void TLogger::Log(TLogLevel Level, rtl::StringView Text, const rtl::TArgList& Args) {
  // By index, with the size read each time: an appender may register or remove
  // appenders while it runs.
  for (std::size_t i = 0; i < FAppenderList.size(); ++i) {
    rtl::IPtr<ILogAppender> appender = FAppenderList[i];
    try {
      appender->Append(Level, Text, Args);
    } catch (...) {
      // An appender's failure is its own; the others still get the message.
    }
  }
}

void TLogger::Debug(rtl::StringView Text) { Log(TLogLevel::Debug, Text, NoArgs()); }
void TLogger::Debug(rtl::StringView Text, const rtl::TArgList& Args) { Log(TLogLevel::Debug, Text, Args); }
void TLogger::Info(rtl::StringView Text) { Log(TLogLevel::Info, Text, NoArgs()); }
void TLogger::Info(rtl::StringView Text, const rtl::TArgList& Args) { Log(TLogLevel::Info, Text, Args); }
void TLogger::Warn(rtl::StringView Text) { Log(TLogLevel::Warn, Text, NoArgs()); }
void TLogger::Warn(rtl::StringView Text, const rtl::TArgList& Args) { Log(TLogLevel::Warn, Text, Args); }
void TLogger::Error(rtl::StringView Text) { Log(TLogLevel::Error, Text, NoArgs()); }
void TLogger::Error(rtl::StringView Text, const rtl::TArgList& Args) { Log(TLogLevel::Error, Text, Args); }
void TLogger::Fatal(rtl::StringView Text) { Log(TLogLevel::Fatal, Text, NoArgs()); }
void TLogger::Fatal(rtl::StringView Text, const rtl::TArgList& Args) { Log(TLogLevel::Fatal, Text, Args); }

void TLogger::BeforeDestruction() {
  // The appenders are let go without SetLogger: they may outlive the logger.
  std::vector<rtl::IPtr<ILogAppender>> appenders;
  appenders.swap(FAppenderList);
  appenders.clear();
}

rtl::IPtr<ILogger> GetLogger() {
  rtl::IPtr<ILogger>& slot = LoggerSlot();
  if (!slot) slot = rtl::IPtr<ILogger>(rtl::Create<TLogger>());
  return slot;
}

bool LoggerCreated() { return static_cast<bool>(LoggerSlot()); }

namespace {
void FinalizeLog() { LoggerSlot() = nullptr; }
}  // namespace

const startup::TModule& LogModule() {
  static const startup::TModule module{u"qor7420_intf_log", nullptr, &FinalizeLog};
  return module;
}

}  // namespace qor
