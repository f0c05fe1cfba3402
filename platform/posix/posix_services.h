#pragma once
// The services of the POSIX substitute; CreateSystemPlatform puts them together.
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/reg_file.h"

namespace qor::platform::posix {

// errno has no sharing violation: a lock refused at open reports this code.
inline constexpr TSysError kSharingViolation = 100032;

class TPosixCodePages : public TCodePageService {
 public:
  unsigned AnsiCodePage() override;
  unsigned OemCodePage() override;
  std::string FromUnicode(unsigned codePage, rtl::StringView text, bool* usedDefault = nullptr) override;
  rtl::String ToUnicode(unsigned codePage, std::string_view bytes) override;

  // Windows' choice from a locale name: Cyrillic languages 1251, otherwise 1252.
  static unsigned AnsiCodePageForLocale(std::string_view localeName);

 private:
  struct TTable {
    bool Valid = false;
    char16_t Decode[256] = {};
    std::map<char16_t, unsigned char> Encode;
  };
  const TTable* Table(unsigned codePage);
  std::mutex FLock;
  std::map<unsigned, TTable> FTables;
};

class TPosixRegistry : public TRegistryService {
 public:
  // Reads NOL_REGISTRY's files, else $XDG_CONFIG_HOME/nol/registry.reg when it exists.
  explicit TPosixRegistry(TCodePageService& codePages);
  bool OpenKey(TRegRoot root, rtl::StringView path, THandle& key) override;
  bool QueryValue(THandle key, rtl::StringView name, TRegValue& value) override;
  void CloseKey(THandle key) override;
  const TRegStore& Store() const { return FStore; }

 private:
  TRegStore FStore;
  std::mutex FLock;
  std::map<THandle, const TRegStoreKey*> FOpen;
  THandle FNext = 1;
};

class TPosixMutexes : public TMutexService {
 public:
  THandle Create(rtl::StringView name, TSysError& lastError) override;
  void Close(THandle mutex) override;
  // /run/user/<uid>/nol-mutex, else /tmp/nol-mutex-<uid>; empty when neither is safe.
  static std::string Folder();
};

class TPosixFiles;

class TPosixProcesses : public TProcessService {
 public:
  explicit TPosixProcesses(TFileService& files) : FFiles(files) {}
  bool Create(char16_t* commandLine, bool inheritHandles, std::uint32_t creationFlags, const TStartupInfo& startup,
              TProcessInformation& info) override;
  std::uint32_t WaitForInputIdle(THandle process, std::uint32_t milliseconds) override;
  void CloseHandle(THandle handle) override;
  std::vector<rtl::String> Arguments() override;

  // Starts a command line in directory (empty: the current one), detached. The pid, or
  // 0 with errno set.
  int StartCommandLine(rtl::StringView commandLine, const std::string& directory);
  // The program the first token names, found in the Windows order; empty when none.
  std::string FindProgram(rtl::StringView token);

 private:
  TFileService& FFiles;
};

class TPosixShell : public TShellService {
 public:
  explicit TPosixShell(TPosixProcesses& processes) : FProcesses(processes) {}
  std::intptr_t Execute(rtl::StringView verb, rtl::StringView file, const std::optional<rtl::String>& parameters,
                        const std::optional<rtl::String>& directory, int showCmd) override;

 private:
  TPosixProcesses& FProcesses;
};

class TPosixFiles : public TFileService {
 public:
  bool FileExists(rtl::StringView path) override;
  bool DirectoryExists(rtl::StringView path) override;
  bool Copy(rtl::StringView source, rtl::StringView dest, bool failIfExists) override;
  bool Delete(rtl::StringView path) override;
  bool Rename(rtl::StringView from, rtl::StringView to, bool replaceExisting) override;
  bool Replace(rtl::StringView replacement, rtl::StringView replaced) override;
  bool GetModificationTime(rtl::StringView path, rtl::TDateTime& localTime) override;
  rtl::String ProgramPath() override;
  rtl::String CurrentDirectory() override;
  THandle OpenFile(rtl::StringView path, TFileAccess access, TFileCreation creation, bool exclusive,
                   TSysError& error) override;
  std::int64_t Read(THandle file, void* buffer, std::int64_t count) override;
  std::int64_t Write(THandle file, const void* buffer, std::int64_t count) override;
  std::int64_t Seek(THandle file, std::int64_t offset, TFileSeek origin) override;
  bool SetSize(THandle file, std::int64_t size) override;
  bool Flush(THandle file) override;
  void CloseFile(THandle file) override;
  rtl::String SysErrorMessage(TSysError error) override;
  TSysError LastError() override;
};

class TPosixInternet : public TInternetService {
 public:
  explicit TPosixInternet(const TRegStore& store) : FStore(store) {}
  bool QueryConnectedState(std::uint32_t& state) override;
  bool SetConnectedState(std::uint32_t state, std::uint32_t flags) override;

 private:
  const TRegStore& FStore;
  std::optional<std::uint32_t> FState;  // set by this process
};

class TPosixProfiles : public TProfileService {
 public:
  explicit TPosixProfiles(TCodePageService& codePages) : FCodePages(codePages) {}
  rtl::String ReadString(rtl::StringView file, rtl::StringView section, rtl::StringView key,
                         rtl::StringView def) override;
  std::vector<rtl::String> ReadSectionKeys(rtl::StringView file, rtl::StringView section) override;
  std::vector<rtl::String> ReadSectionNames(rtl::StringView file) override;

 private:
  TCodePageService& FCodePages;
};

class TPosixClock : public TClockService {
 public:
  std::uint32_t TickCount() override;
  std::uint32_t ProcessId() override;
  rtl::TDateTime Now() override;
};

class TPosixConsole : public TConsoleService {
 public:
  bool IsConsoleProgram() override;
  void Write(std::string_view bytes) override;
  void WriteLineEnd() override { Write("\n"); }
  void Flush() override {}
};

class TPosixLocale : public TLocaleService {
 public:
  rtl::TFormatSettings UserFormatSettings() override;
  rtl::TFormatSettings SystemDefaultFormatSettings() override;
  std::uint32_t UserLocaleId() override;

  // The settings for a locale name such as "ru_RU.UTF-8" (built-in tables for
  // Russian and English when the system lacks the locale).
  static rtl::TFormatSettings SettingsForLocale(const std::string& name);
  // From strftime's conversions to the runtime's specifiers.
  static rtl::String StrftimeToPattern(std::string_view format);
};

class TPosixSockets : public TSocketService {
 public:
  bool Startup() override { return true; }
  void Cleanup() override {}
};

// The locale name of the environment as setlocale(LC_ALL, "") would choose it for category.
std::string EnvironmentLocale(const char* category);

}  // namespace qor::platform::posix
