#include "framework/console/nol_console.h"

#include <algorithm>
#include <any>
#include <charconv>
#include <string>

#include "framework/preferences/qor7420_intf_pref.h"
#include "platform/platform.h"
#include "rtl/datetime.h"

namespace qor {

std::unique_ptr<TConsoleApp> ConsoleApp;

namespace {

constexpr rtl::StringView kMainSection = u"Main";

// The parameters 1 to N of the running program (argument 0 is the program).
std::vector<rtl::String> Parameters() {
  std::vector<rtl::String> args = platform::Platform().Processes().Arguments();
  if (!args.empty()) args.erase(args.begin());
  return args;
}

// The first action whose name equals Name in every letter's case, as the classic
// string list compares: the list's own lookup folds only ASCII letters.
int IndexOfAction(const rtl::TStringList& Actions, rtl::StringView Name) {
  const rtl::String wanted = rtl::UpperCase(Name);
  for (int i = 0; i < Actions.Count(); ++i)
    if (rtl::UpperCase(Actions[i]) == wanted) return i;
  return -1;
}

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

#ifdef _WIN32
constexpr char16_t kNativeSeparator = u'\\';
#else
constexpr char16_t kNativeSeparator = u'/';
#endif

}  // namespace

TConsoleApp::TConsoleApp() {
  FActionList = std::make_unique<rtl::TStringList>();
  FParamList = std::make_unique<rtl::TStringList>();
  FParamList->SetCaseSensitive(true);
  for (rtl::String& param : Parameters()) FParamList->Add(std::move(param));
}

TConsoleApp::~TConsoleApp() {
  // unique_ptr::reset empties the field before it frees the object.
  FParamList.reset();
  FActionList.reset();
  FLogFileStream.reset();
  if (FPidFile.empty()) return;
  try {
    platform::TFileService& files = platform::Platform().Files();
    if (files.FileExists(FPidFile)) files.Delete(FPidFile);
  } catch (...) {
    // Destruction must go on; a pid file that stays is harmless.
  }
}

void TConsoleApp::RegisterAction(rtl::StringView AParamName, TParamAction AParamAction) {
  FActionList->AddObject(rtl::AsciiUpperCase(AParamName), std::any(AParamAction));
}

void TConsoleApp::RunApp() {
  const rtl::String name = FParamList->Count() > 0 ? rtl::AsciiUpperCase((*FParamList)[0]) : rtl::String();
  const int index = IndexOfAction(*FActionList, name);
  if (index < 0) {
    DoLog(FHelpStr, false, true);
  } else {
    const auto action = std::any_cast<TParamAction>(FActionList->Objects(index));
    platform::TClockService& clock = platform::Platform().Clock();
    std::uint32_t elapsed = 0;
    try {
      const std::uint32_t start = clock.TickCount();
      if (action) action();
      // Unsigned difference: a wrap of the counter still gives the elapsed time.
      elapsed = clock.TickCount() - start;
    } catch (const rtl::Exception& E) {
      HandleRunError(E);
      startup::Halt(1);  // an override that returns still ends with the failure code
    }
    const rtl::Extended minutes = static_cast<rtl::Extended>(elapsed) / 1000 / 60;
    TConsoleApp& app = ConsoleApp ? *ConsoleApp : *this;
    app.DoLog(u"Action %s done in %f min", {name, minutes}, true, true);
  }
  if (const auto& manager = PreferenceManager()) manager->Flush();
  startup::Halt(0);
}

void TConsoleApp::HandleRunError(const rtl::Exception& E) {
  LogRunError(E);
  if (FOnErrorNotify) {
    const rtl::String subject = (FParamList->Count() > 0 ? (*FParamList)[0] : rtl::String()) + u" error";
    try {
      FOnErrorNotify(subject, E.Message());
    } catch (const rtl::Exception& N) {
      DoLog(u"Error notify error %s", {N.Message()}, true, true);
    }
  }
  startup::Halt(1);
}

void TConsoleApp::LogRunError(const rtl::Exception& E) {
  DoLog(rtl::String(E.ClassName()) + u": \r\n" + E.Message(), true, true);
}

rtl::String TConsoleApp::ParamValue(rtl::StringView ParamName) const {
  const int index = FParamList->IndexOf(ParamName);
  if (index < 0 || index + 1 >= FParamList->Count()) return {};
  return (*FParamList)[index + 1];
}

bool TConsoleApp::ParamExists(rtl::StringView ParamName) const { return FParamList->IndexOf(ParamName) >= 0; }

rtl::String TConsoleApp::AppPath() const {
  const rtl::String program = platform::Platform().Files().ProgramPath();
  const std::size_t pos = program.find_last_of(u"\\/");
  if (pos == rtl::String::npos) return rtl::String(1, kNativeSeparator);
  const char16_t separator = program[pos];
  rtl::String folder = program.substr(0, pos);
  while (!folder.empty() && IsSeparator(folder.back())) folder.pop_back();
  folder.push_back(separator);
  return folder;
}

void TConsoleApp::DoLog(rtl::StringView aText, bool ShowTime, bool LineBreak) {
  platform::TPlatform& p = platform::Platform();
  rtl::String line;
  if (ShowTime) {
    const rtl::String time = rtl::FormatDateTime(u"hh:nn:ss", p.Clock().Now());
    line = rtl::Format(u"%s : %s", {time, aText});
  } else {
    line = rtl::String(aText);
  }
  // The console sees exactly what the log file gets: the text after its trip
  // through the ANSI code page.
  platform::TCodePageService& codePages = p.CodePages();
  const unsigned ansi = codePages.AnsiCodePage();
  std::string bytes = codePages.FromUnicode(ansi, line);
  TConsoleLog::Log(codePages.ToUnicode(ansi, bytes), true);
  if (!FLogFileStream) return;
  if (LineBreak) bytes += "\r\n";
  try {
    FLogFileStream->Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    FLogFileStream->FlushBuffers();
  } catch (const rtl::Exception&) {
    // A failed write loses this entry only.
  }
}

void TConsoleApp::DoLog(rtl::StringView AFormat, const rtl::TArgList& Args, bool ShowTime, bool LineBreak) {
  DoLog(rtl::Format(AFormat, Args), ShowTime, LineBreak);
}

void TConsoleApp::DoLogWrite(rtl::StringView AFormat, const rtl::TArgList& Args) {
  TConsoleLog::Log(rtl::Format(AFormat, Args), false);
}

void TConsoleApp::SetConfigFileName(rtl::StringView Value) {
  FConfigFileName = rtl::String(Value);
  platform::TProfileService& profiles = platform::Platform().Profiles();
  const std::vector<rtl::String> keys = profiles.ReadSectionKeys(FConfigFileName, kMainSection);
  if (keys.empty()) return;
  auto has = [&keys](rtl::StringView key) {
    return std::any_of(keys.begin(), keys.end(), [key](const rtl::String& k) { return rtl::SameTextAscii(k, key); });
  };
  if (has(u"LogFile")) SetLogFile(ExpandLogFileName(profiles.ReadString(FConfigFileName, kMainSection, u"LogFile", u"")));
  if (has(u"PidFile")) SetPidFile(profiles.ReadString(FConfigFileName, kMainSection, u"PidFile", u""));
}

void TConsoleApp::SetLogFile(rtl::StringView Value) {
  FLogFile = rtl::String(Value);
  FLogFileStream.reset();
  if (FLogFile.empty()) return;
  std::unique_ptr<platform::TFileStream> stream;
  if (platform::Platform().Files().FileExists(FLogFile)) {
    stream = std::make_unique<platform::TFileStream>(FLogFile, platform::TFileStreamMode::OpenReadWrite, true);
    stream->Seek(0, rtl::TSeekOrigin::soEnd);
  } else {
    // CreateNew: a file that appeared meanwhile is not truncated.
    stream = std::make_unique<platform::TFileStream>(FLogFile, platform::TFileStreamMode::CreateNew, true);
  }
  FLogFileStream = std::move(stream);
}

void TConsoleApp::SetPidFile(rtl::StringView Value) {
  FPidFile = rtl::String(Value);
  if (FPidFile.empty()) return;
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, platform::Platform().Clock().ProcessId());
  platform::TFileStream stream(FPidFile, platform::TFileStreamMode::Create, true);
  stream.WriteBuffer(digits, result.ptr - digits);
}

rtl::String ExpandLogFileName(rtl::StringView Template) {
  // One reading of the clock: a date and a time read apart could straddle midnight.
  const rtl::TDateTime now = platform::Platform().Clock().Now();
  rtl::String result = rtl::StringReplace(Template, u"@@date_time@", rtl::FormatDateTime(u"yyyy.mm.dd hh-nn", now), true);
  const std::vector<rtl::String> params = Parameters();
  rtl::String param;
  if (params.size() >= 1) {
    param = rtl::LowerCase(params[0]);
    if (!param.empty()) param.erase(0, 1);
  }
  if (params.size() >= 2) {
    rtl::String second = params[1];
    std::replace_if(second.begin(), second.end(), IsSeparator, u'_');
    param += u'.';
    param += second;
  }
  return rtl::StringReplace(result, u"@@param@", param, true);
}

bool LogUnhandledException(const rtl::Exception& E) {
  if (!ConsoleApp) return false;
  ConsoleApp->LogRunError(E);
  return true;
}

namespace {
void ConsoleInitialization() { ConsoleApp = std::make_unique<TConsoleApp>(); }
void ConsoleFinalization() {
  std::unique_ptr<TConsoleApp> app = std::move(ConsoleApp);  // the slot is empty first
  app.reset();
}
}  // namespace

const startup::TModule& ConsoleModule() {
  static const startup::TModule module{u"nol_console", &ConsoleInitialization, &ConsoleFinalization};
  return module;
}

}  // namespace qor
