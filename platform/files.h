#pragma once
// Files: existence, copy, delete, rename, modification time, the program's own
// path, and handles with read, write, seek, size and flush to the disk.
#include <cstdint>

#include "platform/types.h"
#include "rtl/datetime.h"
#include "rtl/strings.h"

namespace qor::platform {

enum class TFileAccess { Read, Write, ReadWrite };

enum class TFileCreation {
  CreateAlways,  // create, or truncate an existing file
  CreateNew,     // create; fail when the name exists (CREATE_NEW / O_EXCL)
  OpenExisting,  // fail when the file does not exist
  OpenAlways,    // open, or create when absent; never truncates
};

enum class TFileSeek { Begin, Current, End };

class TFileService {
 public:
  virtual ~TFileService() = default;

  // A file (not a folder) of that name exists.
  virtual bool FileExists(rtl::StringView path) = 0;
  virtual bool DirectoryExists(rtl::StringView path) = 0;
  // CopyFileW: failIfExists false overwrites the destination.
  virtual bool Copy(rtl::StringView source, rtl::StringView dest, bool failIfExists) = 0;
  virtual bool Delete(rtl::StringView path) = 0;
  // MoveFileExW; replaceExisting renames over an existing file (MOVEFILE_REPLACE_EXISTING).
  virtual bool Rename(rtl::StringView from, rtl::StringView to, bool replaceExisting) = 0;
  // Renames replacement over replaced, which keeps its permissions: the mode on
  // POSIX, the attributes on Windows. Without a replaced file, a plain rename.
  virtual bool Replace(rtl::StringView replacement, rtl::StringView replaced) = 0;
  // Last modification time in local time; false when it cannot be read.
  virtual bool GetModificationTime(rtl::StringView path, rtl::TDateTime& localTime) = 0;
  // The running program's file (POSIX: an absolute POSIX path).
  virtual rtl::String ProgramPath() = 0;
  virtual rtl::String CurrentDirectory() = 0;

  // Opens or creates a file. exclusive: nobody else may open it while this handle
  // lives, and the open fails when someone holds it (share mode 0; on POSIX a
  // non-blocking lock taken at open). Returns kNoHandle and sets error on failure.
  virtual THandle OpenFile(rtl::StringView path, TFileAccess access, TFileCreation creation, bool exclusive,
                           TSysError& error) = 0;
  // Read / Write return the bytes moved, or -1 on failure.
  virtual std::int64_t Read(THandle file, void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Write(THandle file, const void* buffer, std::int64_t count) = 0;
  // Returns the new position, or -1 on failure.
  virtual std::int64_t Seek(THandle file, std::int64_t offset, TFileSeek origin) = 0;
  // Sets the file's size (truncates or extends); the position is left unspecified.
  virtual bool SetSize(THandle file, std::int64_t size) = 0;
  // Buffers to the disk (FlushFileBuffers / fsync).
  virtual bool Flush(THandle file) = 0;
  virtual void CloseFile(THandle file) = 0;

  // The system's text for an error, without a trailing full stop or line break.
  virtual rtl::String SysErrorMessage(TSysError error) = 0;
  // The error of the last failing call of this service on this thread.
  virtual TSysError LastError() = 0;
};

}  // namespace qor::platform
