// winsock2.h must come before windows.h.
#include <winsock2.h>
// clang-format off
#include "platform/win32/win32_services.h"
#include <wininet.h>
// clang-format on

#include "platform/system_platform.h"
#include "platform/win32/wide.h"

namespace qor::platform::win32 {

bool TWin32Internet::QueryConnectedState(std::uint32_t& state) {
  DWORD value = 0, size = sizeof value;
  if (!::InternetQueryOptionW(nullptr, INTERNET_OPTION_CONNECTED_STATE, &value, &size)) return false;
  state = value;
  return true;
}

bool TWin32Internet::SetConnectedState(std::uint32_t state, std::uint32_t flags) {
  INTERNET_CONNECTED_INFO info;
  info.dwConnectedState = state;
  info.dwFlags = flags;
  return ::InternetSetOptionW(nullptr, INTERNET_OPTION_CONNECTED_STATE, &info, sizeof info) != 0;
}

unsigned TWin32CodePages::AnsiCodePage() { return ::GetACP(); }
unsigned TWin32CodePages::OemCodePage() { return ::GetOEMCP(); }

std::string TWin32CodePages::FromUnicode(unsigned codePage, rtl::StringView text, bool* usedDefault) {
  if (usedDefault) *usedDefault = false;
  if (text.empty()) return {};
  // UTF-8 and the other code pages without a default character take no such flags.
  const bool plain = codePage == CP_UTF8 || codePage == CP_UTF7 || (codePage >= 50220 && codePage <= 57011);
  const DWORD flags = plain ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL defaulted = FALSE;
  BOOL* defaultedPtr = plain ? nullptr : &defaulted;
  const int n = ::WideCharToMultiByte(codePage, flags, W(text.data()), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, defaultedPtr);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  const int got = ::WideCharToMultiByte(codePage, flags, W(text.data()), static_cast<int>(text.size()), out.data(), n,
                                        nullptr, defaultedPtr);
  out.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  if (usedDefault) *usedDefault = defaulted != FALSE;
  return out;
}

rtl::String TWin32CodePages::ToUnicode(unsigned codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int n = ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (n <= 0) return {};
  std::vector<wchar_t> out(static_cast<std::size_t>(n));
  const int got = ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return got > 0 ? rtl::String(U(out.data()), static_cast<std::size_t>(got)) : rtl::String();
}

namespace {
// GetPrivateProfileString* into a buffer grown until the answer fits; reserve is what
// the call keeps back when it truncates (1 for a value, 2 for a list).
template <class Call>
std::vector<wchar_t> GrowingProfileCall(Call call, DWORD reserve) {
  std::vector<wchar_t> buffer(1024);
  for (;;) {
    const DWORD n = call(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n + reserve < buffer.size() || buffer.size() >= (1u << 24)) {
      buffer.resize(n);
      return buffer;
    }
    buffer.resize(buffer.size() * 4);
  }
}

std::vector<rtl::String> SplitList(const std::vector<wchar_t>& list) {
  std::vector<rtl::String> items;
  std::size_t start = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i] == 0) {
      if (i > start) items.emplace_back(U(list.data() + start), i - start);
      start = i + 1;
    }
  }
  if (start < list.size()) items.emplace_back(U(list.data() + start), list.size() - start);
  return items;
}
}  // namespace

rtl::String TWin32Profiles::ReadString(rtl::StringView file, rtl::StringView section, rtl::StringView key,
                                       rtl::StringView def) {
  const rtl::String f = Z(file), s = Z(section), k = Z(key), d = Z(def);
  const std::vector<wchar_t> value = GrowingProfileCall(
      [&](wchar_t* buffer, DWORD size) {
        return ::GetPrivateProfileStringW(W(s.c_str()), W(k.c_str()), W(d.c_str()), buffer, size, W(f.c_str()));
      },
      1);
  return rtl::String(U(value.data()), value.size());
}

std::vector<rtl::String> TWin32Profiles::ReadSectionKeys(rtl::StringView file, rtl::StringView section) {
  const rtl::String f = Z(file), s = Z(section);
  return SplitList(GrowingProfileCall(
      [&](wchar_t* buffer, DWORD size) {
        return ::GetPrivateProfileStringW(W(s.c_str()), nullptr, L"", buffer, size, W(f.c_str()));
      },
      2));
}

std::vector<rtl::String> TWin32Profiles::ReadSectionNames(rtl::StringView file) {
  const rtl::String f = Z(file);
  return SplitList(GrowingProfileCall(
      [&](wchar_t* buffer, DWORD size) { return ::GetPrivateProfileSectionNamesW(buffer, size, W(f.c_str())); }, 2));
}

std::uint32_t TWin32Clock::TickCount() { return ::GetTickCount(); }
std::uint32_t TWin32Clock::ProcessId() { return ::GetCurrentProcessId(); }

rtl::TDateTime TWin32Clock::Now() {
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  rtl::TDateTime d = 0, t = 0;
  rtl::TryEncodeDate(st.wYear, st.wMonth, st.wDay, d);
  rtl::TryEncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, t);
  return d + t;
}

// The subsystem the program was linked for, read from its own image header.
bool TWin32Console::IsConsoleProgram() {
  const auto* base = reinterpret_cast<const BYTE*>(::GetModuleHandleW(nullptr));
  if (!base) return false;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  return nt->OptionalHeader.Subsystem == IMAGE_SUBSYSTEM_WINDOWS_CUI;
}

void TWin32Console::Write(std::string_view bytes) {
  const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD put = 0;
    if (!::WriteFile(out, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &put, nullptr) || put == 0)
      return;
    done += put;
  }
}

bool TWin32Sockets::Startup() {
  if (FStarted) return true;
  FLibrary = ::LoadLibraryW(L"ws2_32.dll");
  if (!FLibrary) return false;
  using TStartup = int(WINAPI*)(WORD, LPWSADATA);
  const auto start = reinterpret_cast<TStartup>(reinterpret_cast<void*>(::GetProcAddress(FLibrary, "WSAStartup")));
  WSADATA data;
  if (!start || start(MAKEWORD(2, 2), &data) != 0) {
    ::FreeLibrary(FLibrary);
    FLibrary = nullptr;
    return false;
  }
  FStarted = true;
  return true;
}

void TWin32Sockets::Cleanup() {
  if (!FLibrary) return;
  if (FStarted) {
    using TCleanup = int(WINAPI*)();
    if (const auto clean =
            reinterpret_cast<TCleanup>(reinterpret_cast<void*>(::GetProcAddress(FLibrary, "WSACleanup"))))
      clean();
  }
  ::FreeLibrary(FLibrary);
  FLibrary = nullptr;
  FStarted = false;
}

namespace {
class TWin32Platform : public TPlatform {
 public:
  TRegistryService& Registry() override { return FRegistry; }
  TMutexService& Mutexes() override { return FMutexes; }
  TProcessService& Processes() override { return FProcesses; }
  TShellService& Shell() override { return FShell; }
  TFileService& Files() override { return FFiles; }
  TInternetService& Internet() override { return FInternet; }
  TCodePageService& CodePages() override { return FCodePages; }
  TProfileService& Profiles() override { return FProfiles; }
  TClockService& Clock() override { return FClock; }
  TConsoleService& Console() override { return FConsole; }
  TLocaleService& Locale() override { return FLocale; }
  TSocketService& Sockets() override { return FSockets; }

 private:
  TWin32Registry FRegistry;
  TWin32Mutexes FMutexes;
  TWin32Processes FProcesses;
  TWin32Shell FShell;
  TWin32Files FFiles;
  TWin32Internet FInternet;
  TWin32CodePages FCodePages;
  TWin32Profiles FProfiles;
  TWin32Clock FClock;
  TWin32Console FConsole;
  TWin32Locale FLocale;
  TWin32Sockets FSockets;
};
}  // namespace

}  // namespace qor::platform::win32

namespace qor::platform {

std::unique_ptr<TPlatform> CreateSystemPlatform() { return std::make_unique<win32::TWin32Platform>(); }

}  // namespace qor::platform
