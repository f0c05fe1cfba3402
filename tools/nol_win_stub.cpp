// nol_win_stub: stands in for the installed product in the Windows end-to-end
// tests, copied into the install folder as bin\qor7420main.exe.
//   <stub> [ARGS...]                        writes "<command line>\n<current folder>\n"
//                                           (UTF-8) to "<its own path>.record" and ends
//   <stub> --hold-mutex NAME READYFILE      creates the mutex NAME, writes READYFILE,
//                                           and holds the mutex until it is killed
//   <stub> --read-box CAPTION OUTFILE       writes the text and the visible buttons of
//                                           the message box CAPTION of another program
//   <stub> --desktop MS READYFILE           asks for the desktop window, as a program
//                                           with windows does, writes READYFILE, and
//                                           ends MS milliseconds later
// A test program outside the system, so it calls Windows directly.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// Written beside and renamed, so a reader sees the whole file or none.
bool WriteAtomically(const std::wstring& path, const std::string& text) {
  const std::wstring temp = path + L".tmp";
  HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(h);
  return ok && written == text.size() && MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  DWORD_PTR got = 0;
  // Marshalled by the system for a window of another process.
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &got))
    return {};
  return std::wstring(text, got);
}

BOOL CALLBACK AddButton(HWND child, LPARAM out) {
  wchar_t cls[32] = {};
  GetClassNameW(child, cls, 32);
  if (std::wstring(cls) == L"Button" && IsWindowVisible(child))
    *reinterpret_cast<std::string*>(out) += "button=" + Utf8(TextOf(child)) + "\n";
  return TRUE;
}

int ReadBox(const wchar_t* caption, const wchar_t* outFile) {
  HWND box = FindWindowW(L"#32770", caption);
  if (!box || !IsWindowVisible(box)) return 8;
  std::string record = "text=" + Utf8(TextOf(GetDlgItem(box, 0xFFFF))) + "\n";
  EnumChildWindows(box, AddButton, reinterpret_cast<LPARAM>(&record));
  return WriteAtomically(outFile, record) ? 0 : 7;
}

}  // namespace

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return 2;
  if (argc == 4 && std::wstring(argv[1]) == L"--hold-mutex") {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, argv[2]);
    if (!mutex) return 3;
    if (!WriteAtomically(argv[3], std::to_string(GetCurrentProcessId()) + "\n")) return 4;
    Sleep(INFINITE);
    return 0;
  }
  if (argc == 4 && std::wstring(argv[1]) == L"--read-box") return ReadBox(argv[2], argv[3]);
  if (argc == 4 && std::wstring(argv[1]) == L"--desktop") {
    if (!GetDesktopWindow()) return 9;
    if (!WriteAtomically(argv[3], std::to_string(GetCurrentProcessId()) + "\n")) return 4;
    Sleep(static_cast<DWORD>(_wtoi(argv[2])));
    return 0;
  }
  wchar_t self[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 5;
  wchar_t cwd[MAX_PATH];
  DWORD c = GetCurrentDirectoryW(MAX_PATH, cwd);
  if (c == 0 || c >= MAX_PATH) return 6;
  std::string record = Utf8(GetCommandLineW()) + "\n" + Utf8(cwd) + "\n";
  return WriteAtomically(std::wstring(self, n) + L".record", record) ? 0 : 7;
}
