#include <algorithm>
#include <cstring>

#include "platform/fake/fake_platform.h"

namespace qor::platform::fake {

rtl::String TFakeFiles::Key(rtl::StringView path) {
  rtl::String k = rtl::UpperCase(path);
  std::replace(k.begin(), k.end(), u'/', u'\\');
  while (k.size() > 1 && k.back() == u'\\') k.pop_back();
  return k;
}

bool TFakeFiles::Fail(TSysError error) {
  FLastError = error;
  return false;
}

void TFakeFiles::SetFile(rtl::StringView path, std::string bytes, rtl::TDateTime modified) {
  const rtl::String k = Key(path);
  auto [it, inserted] = FFiles.try_emplace(k);
  if (inserted) {
    it->second.Name = rtl::String(path);
    FOrder.push_back(k);
  }
  it->second.Data = std::move(bytes);
  it->second.Modified = modified;
}

void TFakeFiles::AddDirectory(rtl::StringView path) { FDirectories.insert(Key(path)); }

std::optional<std::string> TFakeFiles::Contents(rtl::StringView path) const {
  auto it = FFiles.find(Key(path));
  if (it == FFiles.end()) return std::nullopt;
  return it->second.Data;
}

std::vector<rtl::String> TFakeFiles::FileNames() const {
  std::vector<rtl::String> names;
  for (const rtl::String& k : FOrder) {
    auto it = FFiles.find(k);
    if (it != FFiles.end()) names.push_back(it->second.Name);
  }
  return names;
}

void TFakeFiles::SetReadOnly(rtl::StringView path, bool readOnly) {
  auto it = FFiles.find(Key(path));
  if (it != FFiles.end()) it->second.ReadOnly = readOnly;
}

int TFakeFiles::FlushCount(rtl::StringView path) const {
  auto it = FFiles.find(Key(path));
  return it == FFiles.end() ? 0 : it->second.Flushes;
}

bool TFakeFiles::FileExists(rtl::StringView path) { return FFiles.contains(Key(path)); }

bool TFakeFiles::DirectoryExists(rtl::StringView path) {
  const rtl::String k = Key(path);
  if (FDirectories.contains(k)) return true;
  for (const auto& [name, file] : FFiles)
    if (name.size() > k.size() && name.compare(0, k.size(), k) == 0 && name[k.size()] == u'\\') return true;
  return false;
}

bool TFakeFiles::Copy(rtl::StringView source, rtl::StringView dest, bool failIfExists) {
  auto src = FFiles.find(Key(source));
  if (src == FFiles.end()) return Fail(kErrorFileNotFound);
  const rtl::String k = Key(dest);
  for (const auto& [h, open] : FOpen)
    if ((open.Key == k || open.Key == src->first) && open.Exclusive) return Fail(kErrorSharingViolation);
  auto dst = FFiles.find(k);
  if (dst != FFiles.end()) {
    if (failIfExists) return Fail(kErrorFileExists);
    if (dst->second.ReadOnly) return Fail(kErrorAccessDenied);
  }
  const TFile copy = src->second;
  SetFile(dest, copy.Data, copy.Modified);
  return true;
}

bool TFakeFiles::Delete(rtl::StringView path) {
  const rtl::String k = Key(path);
  auto it = FFiles.find(k);
  if (it == FFiles.end()) return Fail(kErrorFileNotFound);
  if (it->second.ReadOnly) return Fail(kErrorAccessDenied);
  for (const auto& [h, open] : FOpen)
    if (open.Key == k) return Fail(kErrorSharingViolation);
  FFiles.erase(it);
  return true;
}

bool TFakeFiles::Replace(rtl::StringView replacement, rtl::StringView replaced) {
  return Rename(replacement, replaced, true);
}

bool TFakeFiles::Rename(rtl::StringView from, rtl::StringView to, bool replaceExisting) {
  const rtl::String kFrom = Key(from), kTo = Key(to);
  auto src = FFiles.find(kFrom);
  if (src == FFiles.end()) return Fail(kErrorFileNotFound);
  for (const auto& [h, open] : FOpen)
    if (open.Key == kFrom || open.Key == kTo) return Fail(kErrorSharingViolation);
  if (kFrom == kTo) return true;
  auto dst = FFiles.find(kTo);
  if (dst != FFiles.end()) {
    if (!replaceExisting) return Fail(kErrorAlreadyExists);
    if (dst->second.ReadOnly) return Fail(kErrorAccessDenied);
  }
  TFile moved = std::move(src->second);
  FFiles.erase(src);
  moved.Name = rtl::String(to);
  if (std::find(FOrder.begin(), FOrder.end(), kTo) == FOrder.end()) FOrder.push_back(kTo);
  FFiles[kTo] = std::move(moved);
  return true;
}

bool TFakeFiles::GetModificationTime(rtl::StringView path, rtl::TDateTime& localTime) {
  auto it = FFiles.find(Key(path));
  if (it == FFiles.end()) return Fail(kErrorFileNotFound);
  localTime = it->second.Modified;
  return true;
}

THandle TFakeFiles::OpenFile(rtl::StringView path, TFileAccess access, TFileCreation creation, bool exclusive,
                             TSysError& error) {
  const rtl::String k = Key(path);
  auto fail = [&](TSysError e) {
    FLastError = error = e;
    return kNoHandle;
  };
  for (const auto& [h, open] : FOpen)
    if (open.Key == k && (open.Exclusive || exclusive)) return fail(kErrorSharingViolation);
  auto it = FFiles.find(k);
  const bool exists = it != FFiles.end();
  const bool writes = access != TFileAccess::Read || creation == TFileCreation::CreateAlways;
  if (exists && creation == TFileCreation::CreateNew) return fail(kErrorFileExists);
  if (exists && it->second.ReadOnly && writes) return fail(kErrorAccessDenied);
  switch (creation) {
    case TFileCreation::CreateNew:
      if (exists) return fail(kErrorFileExists);
      SetFile(path, {});
      break;
    case TFileCreation::CreateAlways:
      if (exists)
        it->second.Data.clear();
      else
        SetFile(path, {});
      break;
    case TFileCreation::OpenExisting:
      if (!exists) return fail(kErrorFileNotFound);
      break;
    case TFileCreation::OpenAlways:
      if (!exists) SetFile(path, {});
      break;
  }
  const THandle h = FNext++;
  FOpen[h] = TOpenFile{k, access, exclusive, 0};
  error = 0;
  return h;
}

TFakeFiles::TOpenFile* TFakeFiles::Find(THandle file) {
  auto it = FOpen.find(file);
  if (it == FOpen.end()) {
    FLastError = kErrorInvalidHandle;
    return nullptr;
  }
  return &it->second;
}

std::int64_t TFakeFiles::Read(THandle file, void* buffer, std::int64_t count) {
  TOpenFile* open = Find(file);
  if (!open) return -1;
  if (open->Access == TFileAccess::Write) return Fail(kErrorAccessDenied), -1;
  const std::string& data = FFiles[open->Key].Data;
  const std::int64_t size = static_cast<std::int64_t>(data.size());
  const std::int64_t n = std::max<std::int64_t>(0, std::min(count, size - open->Position));
  if (n > 0) std::memcpy(buffer, data.data() + open->Position, static_cast<std::size_t>(n));
  open->Position += n;
  return n;
}

std::int64_t TFakeFiles::Write(THandle file, const void* buffer, std::int64_t count) {
  TOpenFile* open = Find(file);
  if (!open) return -1;
  if (open->Access == TFileAccess::Read) return Fail(kErrorAccessDenied), -1;
  if (FailWrites) return Fail(kErrorWriteFault), -1;
  std::string& data = FFiles[open->Key].Data;
  const auto end = static_cast<std::size_t>(open->Position + count);
  if (data.size() < end) data.resize(end);
  std::memcpy(data.data() + open->Position, buffer, static_cast<std::size_t>(count));
  open->Position += count;
  return count;
}

std::int64_t TFakeFiles::Seek(THandle file, std::int64_t offset, TFileSeek origin) {
  TOpenFile* open = Find(file);
  if (!open) return -1;
  const std::int64_t size = static_cast<std::int64_t>(FFiles[open->Key].Data.size());
  const std::int64_t base = origin == TFileSeek::Begin ? 0 : origin == TFileSeek::Current ? open->Position : size;
  if (base + offset < 0) return Fail(kErrorNegativeSeek), -1;
  open->Position = base + offset;
  return open->Position;
}

bool TFakeFiles::SetSize(THandle file, std::int64_t size) {
  TOpenFile* open = Find(file);
  if (!open) return false;
  if (open->Access == TFileAccess::Read) return Fail(kErrorAccessDenied);
  FFiles[open->Key].Data.resize(static_cast<std::size_t>(size));
  return true;
}

bool TFakeFiles::Flush(THandle file) {
  TOpenFile* open = Find(file);
  if (!open) return false;
  if (FailFlush) return Fail(kErrorWriteFault);
  ++FFiles[open->Key].Flushes;
  return true;
}

void TFakeFiles::CloseFile(THandle file) { FOpen.erase(file); }

rtl::String TFakeFiles::SysErrorMessage(TSysError error) {
  switch (error) {
    case 0: return u"The operation completed successfully";
    case kErrorFileNotFound: return u"The system cannot find the file specified";
    case kErrorPathNotFound: return u"The system cannot find the path specified";
    case kErrorAccessDenied: return u"Access is denied";
    case kErrorInvalidHandle: return u"The handle is invalid";
    case kErrorWriteFault: return u"The system cannot write to the specified device";
    case kErrorSharingViolation: return u"The process cannot access the file because it is being used by another process";
    case kErrorFileExists: return u"The file exists";
    case kErrorNegativeSeek: return u"An attempt was made to move the file pointer before the beginning of the file";
    case kErrorAlreadyExists: return u"Cannot create a file when that file already exists";
    default: break;
  }
  return u"System error.  Code: " + rtl::IntToStr(error);
}

}  // namespace qor::platform::fake
