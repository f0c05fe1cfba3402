#include "platform/win32/wide.h"
#include "platform/win32/win32_services.h"

namespace qor::platform::win32 {

namespace {
rtl::TDateTime ToDateTime(const SYSTEMTIME& st) {
  rtl::TDateTime d = 0, t = 0;
  rtl::TryEncodeDate(st.wYear, st.wMonth, st.wDay, d);
  rtl::TryEncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, t);
  return d + t;
}

HANDLE H(THandle h) { return reinterpret_cast<HANDLE>(h); }
}  // namespace

bool TWin32Files::FileExists(rtl::StringView path) {
  const rtl::String p = Z(path);
  const DWORD a = ::GetFileAttributesW(W(p.c_str()));
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool TWin32Files::DirectoryExists(rtl::StringView path) {
  const rtl::String p = Z(path);
  const DWORD a = ::GetFileAttributesW(W(p.c_str()));
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool TWin32Files::Copy(rtl::StringView source, rtl::StringView dest, bool failIfExists) {
  const rtl::String s = Z(source), d = Z(dest);
  return ::CopyFileW(W(s.c_str()), W(d.c_str()), failIfExists ? TRUE : FALSE) != 0;
}

bool TWin32Files::Delete(rtl::StringView path) {
  const rtl::String p = Z(path);
  return ::DeleteFileW(W(p.c_str())) != 0;
}

bool TWin32Files::Rename(rtl::StringView from, rtl::StringView to, bool replaceExisting) {
  const rtl::String a = Z(from), b = Z(to);
  return ::MoveFileExW(W(a.c_str()), W(b.c_str()), replaceExisting ? MOVEFILE_REPLACE_EXISTING : 0) != 0;
}

bool TWin32Files::Replace(rtl::StringView replacement, rtl::StringView replaced) {
  const rtl::String a = Z(replacement), b = Z(replaced);
  const DWORD attributes = ::GetFileAttributesW(W(b.c_str()));
  if (!::MoveFileExW(W(a.c_str()), W(b.c_str()), MOVEFILE_REPLACE_EXISTING)) return false;
  // A read-only file is not replaced at all, so nothing of that kind is carried.
  constexpr DWORD kCarried = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                             FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    const DWORD now = ::GetFileAttributesW(W(b.c_str()));
    if (now != INVALID_FILE_ATTRIBUTES) ::SetFileAttributesW(W(b.c_str()), (now & ~kCarried) | (attributes & kCarried));
  }
  return true;
}

bool TWin32Files::GetModificationTime(rtl::StringView path, rtl::TDateTime& localTime) {
  const rtl::String p = Z(path);
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(W(p.c_str()), GetFileExInfoStandard, &data)) return false;
  FILETIME local;
  SYSTEMTIME st;
  if (!::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !::FileTimeToSystemTime(&local, &st)) return false;
  localTime = ToDateTime(st);
  return true;
}

rtl::String TWin32Files::ProgramPath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return rtl::String(U(buffer.data()), n);
    buffer.resize(buffer.size() * 2);
  }
}

rtl::String TWin32Files::CurrentDirectory() {
  const DWORD n = ::GetCurrentDirectoryW(0, nullptr);
  if (n == 0) return {};
  std::vector<wchar_t> buffer(n);
  const DWORD got = ::GetCurrentDirectoryW(n, buffer.data());
  return got == 0 || got >= n ? rtl::String() : rtl::String(U(buffer.data()), got);
}

THandle TWin32Files::OpenFile(rtl::StringView path, TFileAccess access, TFileCreation creation, bool exclusive,
                              TSysError& error) {
  DWORD desired = access == TFileAccess::Read    ? GENERIC_READ
                  : access == TFileAccess::Write ? GENERIC_WRITE
                                                 : GENERIC_READ | GENERIC_WRITE;
  DWORD disposition = OPEN_EXISTING;
  switch (creation) {
    case TFileCreation::CreateAlways:
      disposition = CREATE_ALWAYS;
      desired |= GENERIC_WRITE;
      break;
    case TFileCreation::CreateNew:
      disposition = CREATE_NEW;
      break;
    case TFileCreation::OpenExisting:
      disposition = OPEN_EXISTING;
      break;
    case TFileCreation::OpenAlways:
      disposition = OPEN_ALWAYS;
      break;
  }
  const rtl::String p = Z(path);
  const HANDLE h = ::CreateFileW(W(p.c_str()), desired, exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = ::GetLastError();
    return kNoHandle;
  }
  error = 0;
  return reinterpret_cast<THandle>(h);
}

std::int64_t TWin32Files::Read(THandle file, void* buffer, std::int64_t count) {
  std::int64_t done = 0;
  auto* p = static_cast<char*>(buffer);
  while (done < count) {
    const DWORD chunk = static_cast<DWORD>(count - done > 0x40000000 ? 0x40000000 : count - done);
    DWORD got = 0;
    if (!::ReadFile(H(file), p + done, chunk, &got, nullptr)) return done > 0 ? done : -1;
    if (got == 0) break;
    done += got;
  }
  return done;
}

std::int64_t TWin32Files::Write(THandle file, const void* buffer, std::int64_t count) {
  std::int64_t done = 0;
  const auto* p = static_cast<const char*>(buffer);
  while (done < count) {
    const DWORD chunk = static_cast<DWORD>(count - done > 0x40000000 ? 0x40000000 : count - done);
    DWORD put = 0;
    if (!::WriteFile(H(file), p + done, chunk, &put, nullptr) || put == 0) return done > 0 ? done : -1;
    done += put;
  }
  return done;
}

std::int64_t TWin32Files::Seek(THandle file, std::int64_t offset, TFileSeek origin) {
  LARGE_INTEGER distance, result;
  distance.QuadPart = offset;
  const DWORD method = origin == TFileSeek::Begin ? FILE_BEGIN : origin == TFileSeek::Current ? FILE_CURRENT : FILE_END;
  if (!::SetFilePointerEx(H(file), distance, &result, method)) return -1;
  return result.QuadPart;
}

bool TWin32Files::SetSize(THandle file, std::int64_t size) {
  LARGE_INTEGER distance;
  distance.QuadPart = size;
  return ::SetFilePointerEx(H(file), distance, nullptr, FILE_BEGIN) && ::SetEndOfFile(H(file));
}

bool TWin32Files::Flush(THandle file) { return ::FlushFileBuffers(H(file)) != 0; }

void TWin32Files::CloseFile(THandle file) {
  if (file != kNoHandle) ::CloseHandle(H(file));
}

// The system's text without the trailing line break and full stop.
rtl::String TWin32Files::SysErrorMessage(TSysError error) {
  wchar_t* buffer = nullptr;
  const DWORD n =
      ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  rtl::String text = n && buffer ? rtl::String(U(buffer), n) : rtl::String();
  if (buffer) ::LocalFree(buffer);
  while (!text.empty() && (text.back() <= u' ' || text.back() == u'.')) text.pop_back();
  return text;
}

TSysError TWin32Files::LastError() { return ::GetLastError(); }

}  // namespace qor::platform::win32
