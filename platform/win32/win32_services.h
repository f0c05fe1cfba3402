#pragma once
// The services of the Win32 platform; CreateSystemPlatform puts them together.
#include <windows.h>

#include "platform/platform.h"

namespace qor::platform::win32 {

class TWin32Registry : public TRegistryService {
 public:
  bool OpenKey(TRegRoot root, rtl::StringView path, THandle& key) override;
  bool QueryValue(THandle key, rtl::StringView name, TRegValue& value) override;
  void CloseKey(THandle key) override;
};

class TWin32Mutexes : public TMutexService {
 public:
  THandle Create(rtl::StringView name, TSysError& lastError) override;
  void Close(THandle mutex) override;
};

class TWin32Processes : public TProcessService {
 public:
  bool Create(char16_t* commandLine, bool inheritHandles, std::uint32_t creationFlags, const TStartupInfo& startup,
              TProcessInformation& info) override;
  std::uint32_t WaitForInputIdle(THandle process, std::uint32_t milliseconds) override;
  void CloseHandle(THandle handle) override;
  std::vector<rtl::String> Arguments() override;
};

class TWin32Shell : public TShellService {
 public:
  std::intptr_t Execute(rtl::StringView verb, rtl::StringView file, const std::optional<rtl::String>& parameters,
                        const std::optional<rtl::String>& directory, int showCmd) override;
};

class TWin32Files : public TFileService {
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

class TWin32Internet : public TInternetService {
 public:
  bool QueryConnectedState(std::uint32_t& state) override;
  bool SetConnectedState(std::uint32_t state, std::uint32_t flags) override;
};

class TWin32CodePages : public TCodePageService {
 public:
  unsigned AnsiCodePage() override;
  unsigned OemCodePage() override;
  std::string FromUnicode(unsigned codePage, rtl::StringView text, bool* usedDefault = nullptr) override;
  rtl::String ToUnicode(unsigned codePage, std::string_view bytes) override;
};

class TWin32Profiles : public TProfileService {
 public:
  rtl::String ReadString(rtl::StringView file, rtl::StringView section, rtl::StringView key,
                         rtl::StringView def) override;
  std::vector<rtl::String> ReadSectionKeys(rtl::StringView file, rtl::StringView section) override;
  std::vector<rtl::String> ReadSectionNames(rtl::StringView file) override;
};

class TWin32Clock : public TClockService {
 public:
  std::uint32_t TickCount() override;
  std::uint32_t ProcessId() override;
  rtl::TDateTime Now() override;
};

class TWin32Console : public TConsoleService {
 public:
  bool IsConsoleProgram() override;
  void Write(std::string_view bytes) override;
  void WriteLineEnd() override { Write("\r\n"); }
  void Flush() override {}
};

class TWin32Locale : public TLocaleService {
 public:
  rtl::TFormatSettings UserFormatSettings() override;
  rtl::TFormatSettings SystemDefaultFormatSettings() override;
  std::uint32_t UserLocaleId() override;
};

class TWin32Sockets : public TSocketService {
 public:
  ~TWin32Sockets() override { Cleanup(); }
  bool Startup() override;
  void Cleanup() override;

 private:
  HMODULE FLibrary = nullptr;
  bool FStarted = false;
};

}  // namespace qor::platform::win32
