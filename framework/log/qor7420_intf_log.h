#pragma once
// The process logger: messages of five levels fanned out, unformatted, to every
// registered appender. The appenders format and filter; the logger never does.
#include <array>
#include <cstdint>
#include <vector>

#include "framework/startup/module_runner.h"
#include "rtl/format.h"
#include "rtl/interfaces.h"
#include "rtl/strings.h"

namespace qor {

// Mixed-case enumerators: ERROR and DEBUG are macros in the Windows headers and in
// many build setups.
enum class TLogLevel : std::uint8_t { Debug, Info, Warn, Error, Fatal, Off };

// Display names indexed by TLogLevel, right-aligned to the same width of five.
inline constexpr std::array<rtl::StringView, 6> LogLevelNames = {
    u"DEBUG", u" INFO", u" WARN", u"ERROR", u"FATAL", u"  OFF"};

inline rtl::StringView LogLevelName(TLogLevel level) { return LogLevelNames[static_cast<std::size_t>(level)]; }

class ILogger;

class ILogAppender : public rtl::IInterface {
 public:
  static constexpr rtl::TGUID IID = rtl::GUID("{56ED3E61-6426-4831-A7CA-3B4A5DF25A25}");
  using Parent = rtl::IInterface;

  // One message; when Args is not empty, Text is a format text that Args fills.
  virtual void Append(TLogLevel Level, rtl::StringView Text, const rtl::TArgList& Args) = 0;
  // Writes out whatever the appender buffers. The logger never calls it.
  virtual void Flush() = 0;
  // The logger that holds this appender, or an empty reference when it leaves it.
  virtual void SetLogger(const rtl::IPtr<ILogger>& Value) = 0;
  // Releases the appender's output (file, stream). The logger never calls it.
  virtual void Close() = 0;

 protected:
  ~ILogAppender() = default;
};

class ILogger : public rtl::IInterface {
 public:
  static constexpr rtl::TGUID IID = rtl::GUID("{2B4A32D9-B631-49CC-84E9-7FFA1F851CDF}");
  using Parent = rtl::IInterface;

  virtual void Register(const rtl::IPtr<ILogAppender>& Appender) = 0;
  virtual void UnRegister(const rtl::IPtr<ILogAppender>& Appender) = 0;
  virtual void Debug(rtl::StringView Text) = 0;
  virtual void Debug(rtl::StringView Text, const rtl::TArgList& Args) = 0;
  virtual void Info(rtl::StringView Text) = 0;
  virtual void Info(rtl::StringView Text, const rtl::TArgList& Args) = 0;
  virtual void Warn(rtl::StringView Text) = 0;
  virtual void Warn(rtl::StringView Text, const rtl::TArgList& Args) = 0;
  virtual void Error(rtl::StringView Text) = 0;
  virtual void Error(rtl::StringView Text, const rtl::TArgList& Args) = 0;
  virtual void Fatal(rtl::StringView Text) = 0;
  virtual void Fatal(rtl::StringView Text, const rtl::TArgList& Args) = 0;
  virtual void SetLevel(TLogLevel Value) = 0;
  virtual TLogLevel GetLevel() = 0;

 protected:
  ~ILogger() = default;
};

class TLogger : public rtl::TInterfaced<ILogger> {
 public:
  // An empty Appender raises EInvalidOperation and registers nothing.
  void Register(const rtl::IPtr<ILogAppender>& Appender) override;
  void UnRegister(const rtl::IPtr<ILogAppender>& Appender) override;
  void Debug(rtl::StringView Text) override;
  void Debug(rtl::StringView Text, const rtl::TArgList& Args) override;
  void Info(rtl::StringView Text) override;
  void Info(rtl::StringView Text, const rtl::TArgList& Args) override;
  void Warn(rtl::StringView Text) override;
  void Warn(rtl::StringView Text, const rtl::TArgList& Args) override;
  void Error(rtl::StringView Text) override;
  void Error(rtl::StringView Text, const rtl::TArgList& Args) override;
  void Fatal(rtl::StringView Text) override;
  void Fatal(rtl::StringView Text, const rtl::TArgList& Args) override;
  // Level is kept for the appenders to read; the logger itself never compares it.
  void SetLevel(TLogLevel Value) override { FLevel = Value; }
  TLogLevel GetLevel() override { return FLevel; }

  void BeforeDestruction() override;

 protected:
  void Log(TLogLevel Level, rtl::StringView Text, const rtl::TArgList& Args);

 private:
  std::vector<rtl::IPtr<ILogAppender>> FAppenderList;
  TLogLevel FLevel = TLogLevel::Debug;
};

// The process logger, created on first use.
rtl::IPtr<ILogger> GetLogger();
// Whether the slot holds a logger, without creating one.
bool LoggerCreated();

// Start-up does nothing; shut-down empties the logger slot.
const startup::TModule& LogModule();

}  // namespace qor
