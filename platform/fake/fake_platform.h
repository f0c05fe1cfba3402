#pragma once
// In-memory platform for unit tests: registry, mutex table, process and shell logs,
// files, clock, console, locale, internet state and socket library answers.
// Install it with TScopedPlatform; every service records what it was asked.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/service_platform.h"

namespace qor::platform::fake {

// Windows error codes the fakes report.
inline constexpr TSysError kErrorFileNotFound = 2;
inline constexpr TSysError kErrorPathNotFound = 3;
inline constexpr TSysError kErrorSharingViolation = 32;
inline constexpr TSysError kErrorFileExists = 80;
inline constexpr TSysError kErrorInvalidHandle = 6;
inline constexpr TSysError kErrorWriteFault = 29;
inline constexpr TSysError kErrorNegativeSeek = 131;

// Keys are compared case-insensitively, without a leading backslash; a key exists
// when it was added or holds values or has a sub-key.
class TFakeRegistry : public TRegistryService {
 public:
  void AddKey(TRegRoot root, rtl::StringView key);
  void SetValue(TRegRoot root, rtl::StringView key, rtl::StringView name, std::uint32_t type,
                std::vector<std::uint8_t> data);
  // REG_SZ (or type) with the terminating NUL, as the system stores it.
  void SetString(TRegRoot root, rtl::StringView key, rtl::StringView name, rtl::StringView value,
                 TRegDataType type = TRegDataType::String);
  void SetDWord(TRegRoot root, rtl::StringView key, rtl::StringView name, std::uint32_t value);
  // The key exists but opening it fails (access denied).
  void DenyKey(TRegRoot root, rtl::StringView key);
  void Clear();

  struct TOpen {
    TRegRoot Root;
    rtl::String Path;  // as passed
    bool Succeeded;
  };
  const std::vector<TOpen>& Opens() const { return FOpens; }
  // Keys opened and not closed yet.
  int OpenKeyCount() const { return static_cast<int>(FHandles.size()); }

  bool OpenKey(TRegRoot root, rtl::StringView path, THandle& key) override;
  bool QueryValue(THandle key, rtl::StringView name, TRegValue& value) override;
  void CloseKey(THandle key) override;

 private:
  static rtl::String Normal(TRegRoot root, rtl::StringView key);
  struct TKey {
    std::map<rtl::String, TRegValue> Values;  // upper-cased names
  };
  std::map<rtl::String, TKey> FKeys;
  std::set<rtl::String> FDenied;
  std::map<THandle, rtl::String> FHandles;
  std::vector<TOpen> FOpens;
  THandle FNext = 0x100;
};

// Names held by other processes; this process's open handles hold names too.
class TFakeMutexes : public TMutexService {
 public:
  void Hold(rtl::StringView name) { FHeld.insert(rtl::String(name)); }
  void Release(rtl::StringView name) { FHeld.erase(rtl::String(name)); }
  // Creation of this name fails with access denied.
  void Deny(rtl::StringView name) { FDenied.insert(rtl::String(name)); }
  bool IsHeld(rtl::StringView name) const;
  const std::vector<rtl::String>& Created() const { return FCreated; }  // every name asked for
  int OpenHandleCount() const { return static_cast<int>(FOpen.size()); }

  THandle Create(rtl::StringView name, TSysError& lastError) override;
  void Close(THandle mutex) override;

 private:
  std::set<rtl::String> FHeld, FDenied;
  std::map<THandle, rtl::String> FOpen;
  std::vector<rtl::String> FCreated;
  THandle FNext = 0x200;
};

class TFakeProcesses : public TProcessService {
 public:
  struct TCall {
    rtl::String CommandLine;
    bool InheritHandles;
    std::uint32_t CreationFlags;
    TStartupInfo Startup;
  };
  // Decides whether creation succeeds (default: always).
  std::function<bool(const rtl::String& commandLine)> Succeeds;
  // After recording, overwrite the buffer the way CreateProcessW may.
  bool ScribbleOnCommandLine = true;
  std::uint32_t WaitResult = 0;
  std::vector<rtl::String> Args = {u"C:\\cd\\bin\\nol_cdrun.exe"};

  const std::vector<TCall>& Calls() const { return FCalls; }
  const std::vector<std::pair<THandle, std::uint32_t>>& Waits() const { return FWaits; }
  int OpenHandleCount() const { return static_cast<int>(FOpen.size()); }

  bool Create(char16_t* commandLine, bool inheritHandles, std::uint32_t creationFlags, const TStartupInfo& startup,
              TProcessInformation& info) override;
  std::uint32_t WaitForInputIdle(THandle process, std::uint32_t milliseconds) override;
  void CloseHandle(THandle handle) override;
  std::vector<rtl::String> Arguments() override { return Args; }

 private:
  std::vector<TCall> FCalls;
  std::vector<std::pair<THandle, std::uint32_t>> FWaits;
  std::set<THandle> FOpen;
  THandle FNext = 0x300;
};

class TFakeShell : public TShellService {
 public:
  struct TCall {
    rtl::String Verb, File;
    std::optional<rtl::String> Parameters, Directory;
    int ShowCmd;
  };
  std::intptr_t Result = 42;
  // Called with each call as it is made: tests look at the world at that moment.
  std::function<void(const TCall&)> OnExecute;
  const std::vector<TCall>& Calls() const { return FCalls; }

  std::intptr_t Execute(rtl::StringView verb, rtl::StringView file, const std::optional<rtl::String>& parameters,
                        const std::optional<rtl::String>& directory, int showCmd) override;

 private:
  std::vector<TCall> FCalls;
};

// Files by name, compared case-insensitively with '/' and '\' alike. Folders exist
// when added or when a file lies below them.
class TFakeFiles : public TFileService {
 public:
  void SetFile(rtl::StringView path, std::string bytes, rtl::TDateTime modified = 0);
  void AddDirectory(rtl::StringView path);
  // The contents, or nullopt when there is no such file.
  std::optional<std::string> Contents(rtl::StringView path) const;
  std::vector<rtl::String> FileNames() const;  // as first written
  // Opens for writing fail with access denied.
  void SetReadOnly(rtl::StringView path, bool readOnly = true);
  bool FailWrites = false;
  bool FailFlush = false;
  int FlushCount(rtl::StringView path) const;
  int OpenFileCount() const { return static_cast<int>(FOpen.size()); }
  rtl::String ProgramFile = u"C:\\cd\\bin\\nol_cdrun.exe";
  rtl::String CurrentDir = u"C:\\cd\\bin";

  bool FileExists(rtl::StringView path) override;
  bool DirectoryExists(rtl::StringView path) override;
  bool Copy(rtl::StringView source, rtl::StringView dest, bool failIfExists) override;
  bool Delete(rtl::StringView path) override;
  bool Rename(rtl::StringView from, rtl::StringView to, bool replaceExisting) override;
  bool Replace(rtl::StringView replacement, rtl::StringView replaced) override;
  bool GetModificationTime(rtl::StringView path, rtl::TDateTime& localTime) override;
  rtl::String ProgramPath() override { return ProgramFile; }
  rtl::String CurrentDirectory() override { return CurrentDir; }
  THandle OpenFile(rtl::StringView path, TFileAccess access, TFileCreation creation, bool exclusive,
                   TSysError& error) override;
  std::int64_t Read(THandle file, void* buffer, std::int64_t count) override;
  std::int64_t Write(THandle file, const void* buffer, std::int64_t count) override;
  std::int64_t Seek(THandle file, std::int64_t offset, TFileSeek origin) override;
  bool SetSize(THandle file, std::int64_t size) override;
  bool Flush(THandle file) override;
  void CloseFile(THandle file) override;
  rtl::String SysErrorMessage(TSysError error) override;
  TSysError LastError() override { return FLastError; }

 private:
  struct TFile {
    rtl::String Name;
    std::string Data;
    rtl::TDateTime Modified = 0;
    bool ReadOnly = false;
    int Flushes = 0;
  };
  struct TOpenFile {
    rtl::String Key;
    TFileAccess Access;
    bool Exclusive;
    std::int64_t Position = 0;
  };
  static rtl::String Key(rtl::StringView path);
  TOpenFile* Find(THandle file);
  bool Fail(TSysError error);

  std::map<rtl::String, TFile> FFiles;
  std::set<rtl::String> FDirectories;
  std::map<THandle, TOpenFile> FOpen;
  std::vector<rtl::String> FOrder;
  TSysError FLastError = 0;
  THandle FNext = 0x400;
};

class TFakeInternet : public TInternetService {
 public:
  std::uint32_t State = kInternetStateConnected;
  bool QueryFails = false;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> SetCalls;  // state, flags

  bool QueryConnectedState(std::uint32_t& state) override;
  bool SetConnectedState(std::uint32_t state, std::uint32_t flags) override;
};

// Code pages 1251, 1252, 866, 437 and 65001 from built-in tables.
class TFakeCodePages : public TCodePageService {
 public:
  unsigned Ansi = 1251;
  unsigned Oem = 866;

  unsigned AnsiCodePage() override { return Ansi; }
  unsigned OemCodePage() override { return Oem; }
  std::string FromUnicode(unsigned codePage, rtl::StringView text, bool* usedDefault = nullptr) override;
  rtl::String ToUnicode(unsigned codePage, std::string_view bytes) override;
};

// Reads the initialisation files of a TFakeFiles with the Windows profile rules.
class TFakeProfiles : public TProfileService {
 public:
  TFakeProfiles(TFakeFiles& files, TCodePageService& codePages) : FFiles(files), FCodePages(codePages) {}
  rtl::String ReadString(rtl::StringView file, rtl::StringView section, rtl::StringView key,
                         rtl::StringView def) override;
  std::vector<rtl::String> ReadSectionKeys(rtl::StringView file, rtl::StringView section) override;
  std::vector<rtl::String> ReadSectionNames(rtl::StringView file) override;

 private:
  TFakeFiles& FFiles;
  TCodePageService& FCodePages;
};

class TFakeClock : public TClockService {
 public:
  std::uint32_t Tick = 1000;
  std::uint32_t TickStep = 0;  // added after every reading
  std::uint32_t Pid = 4242;
  rtl::TDateTime Time = 42809.5;  // 15.03.2017 12:00

  std::uint32_t TickCount() override {
    const std::uint32_t t = Tick;
    Tick += TickStep;
    return t;
  }
  std::uint32_t ProcessId() override { return Pid; }
  rtl::TDateTime Now() override { return Time; }
};

class TFakeConsole : public TConsoleService {
 public:
  bool ConsoleProgram = true;
  std::string LineEnd = "\r\n";
  std::string Output;  // bytes written, line ends included
  int Flushes = 0;

  bool IsConsoleProgram() override { return ConsoleProgram; }
  void Write(std::string_view bytes) override { Output.append(bytes); }
  void WriteLineEnd() override { Output.append(LineEnd); }
  void Flush() override { ++Flushes; }
};

class TFakeLocale : public TLocaleService {
 public:
  TFakeLocale();
  rtl::TFormatSettings User;
  rtl::TFormatSettings System;
  std::uint32_t LocaleId = 0x0419;

  rtl::TFormatSettings UserFormatSettings() override { return User; }
  rtl::TFormatSettings SystemDefaultFormatSettings() override { return System; }
  std::uint32_t UserLocaleId() override { return LocaleId; }
};

class TFakeSockets : public TSocketService {
 public:
  bool StartupResult = true;
  int Startups = 0, Cleanups = 0;
  bool Startup() override {
    ++Startups;
    return StartupResult;
  }
  void Cleanup() override { ++Cleanups; }
};

struct TFakeServices {
  TFakeRegistry Registry;
  TFakeMutexes Mutexes;
  TFakeProcesses Processes;
  TFakeShell Shell;
  TFakeFiles Files;
  TFakeInternet Internet;
  TFakeCodePages CodePages;
  TFakeProfiles Profiles{Files, CodePages};
  TFakeClock Clock;
  TFakeConsole Console;
  TFakeLocale Locale;
  TFakeSockets Sockets;
};

// Every fake together; the accessors return the fakes themselves.
class TFakePlatform : public TServicePlatform<TFakeServices> {};

}  // namespace qor::platform::fake
