#pragma once
// The base of the command-line tools: actions named by the first parameter, the
// log on the console and in a log file, the pid file, the configuration file and
// the questions about the parameters. Its slot ConsoleApp holds the process's one
// instance from the module's start-up to its shut-down.
#include <memory>

#include "framework/console/nol_console_log.h"
#include "framework/startup/module_runner.h"
#include "platform/file_stream.h"
#include "rtl/classes.h"
#include "rtl/exceptions.h"
#include "rtl/format.h"
#include "rtl/strings.h"

namespace qor {

// The action of a registered name.
using TParamAction = void (*)();
// Called after a failed action.
using TErrorNotify = void (*)(rtl::StringView Subject, rtl::StringView Body);

class TConsoleApp {
 public:
  // Copies the command-line parameters 1 to N.
  TConsoleApp();
  // Closes the log file, then deletes the pid file when one was written.
  virtual ~TConsoleApp();
  TConsoleApp(const TConsoleApp&) = delete;
  TConsoleApp& operator=(const TConsoleApp&) = delete;

  // The name is stored with the ASCII letters upper-cased; duplicates stay, the
  // first one wins.
  void RegisterAction(rtl::StringView AParamName, TParamAction AParamAction);
  // Runs the action named by the first parameter (or logs the help text), logs its
  // duration, flushes the preferences and ends the process: 0 when done, 1 when the
  // action raised.
  [[noreturn]] void RunApp();

  // The parameter after the first one equal to ParamName (case-sensitive), or empty.
  rtl::String ParamValue(rtl::StringView ParamName) const;
  bool ParamExists(rtl::StringView ParamName) const;
  // The program's folder with one trailing separator.
  rtl::String AppPath() const;

  // One entry on the console and in the log file, flushed to the disk before
  // returning; characters outside the ANSI code page become its default character.
  void DoLog(rtl::StringView aText, bool ShowTime, bool LineBreak);
  void DoLog(rtl::StringView AFormat, const rtl::TArgList& Args, bool ShowTime, bool LineBreak);
  // Console only, no line end, no time.
  void DoLogWrite(rtl::StringView AFormat, const rtl::TArgList& Args);

  const rtl::String& HelpStr() const { return FHelpStr; }
  void SetHelpStr(rtl::StringView Value) { FHelpStr = rtl::String(Value); }
  const rtl::String& ConfigFileName() const { return FConfigFileName; }
  // Stores the name and applies the keys "LogFile" and "PidFile" of its section "Main".
  void SetConfigFileName(rtl::StringView Value);
  TErrorNotify OnErrorNotify() const { return FOnErrorNotify; }
  void SetOnErrorNotify(TErrorNotify Value) { FOnErrorNotify = Value; }
  const rtl::TStringList& ParamList() const { return *FParamList; }
  const rtl::String& LogFile() const { return FLogFile; }
  // Closes the open log file, then opens the named one (appending) or creates it.
  void SetLogFile(rtl::StringView Value);
  const rtl::String& PidFile() const { return FPidFile; }
  // Writes the process identifier into the named file.
  void SetPidFile(rtl::StringView Value);

  // Logs E, tells OnErrorNotify and ends the process with exit code 1.
  virtual void HandleRunError(const rtl::Exception& E);
  // The two-line entry: class name and ": ", then the message.
  virtual void LogRunError(const rtl::Exception& E);

 protected:
  std::unique_ptr<rtl::TStringList> FParamList;

 private:
  std::unique_ptr<rtl::TStringList> FActionList;
  rtl::String FHelpStr;
  rtl::String FConfigFileName;
  TErrorNotify FOnErrorNotify = nullptr;
  rtl::String FLogFile;
  std::unique_ptr<platform::TFileStream> FLogFileStream;
  rtl::String FPidFile;
};

// The process's instance, owned by the slot.
extern std::unique_ptr<TConsoleApp> ConsoleApp;

// "@@date_time@" becomes the current "yyyy.mm.dd hh-nn"; "@@param@" the first
// parameter in lower case without its first character, followed by "." and the
// second with '\' and '/' turned into '_' when there is one. Any letter case.
rtl::String ExpandLogFileName(rtl::StringView Template);

// Reports an exception that left a console program's entry as a failed action is
// reported: LogRunError of the process's instance (console and log file). False
// when there is no instance.
bool LogUnhandledException(const rtl::Exception& E);

// Start-up creates the instance in ConsoleApp; shut-down empties the slot, then
// destroys the instance.
const startup::TModule& ConsoleModule();

}  // namespace qor
