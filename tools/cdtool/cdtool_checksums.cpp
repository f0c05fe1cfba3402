#include "tools/cdtool/cdtool_checksums.h"

#include <gcrypt.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "platform/file_stream.h"
#include "platform/platform.h"
#include "rtl/exceptions.h"
#include "rtl/format.h"
#include "tools/cdtool/cdtool_args.h"
#include "tools/cdtool/cdtool_verify.h"

namespace qor::cdtool {

namespace {

constexpr std::size_t kDigestSize = 32;
constexpr std::size_t kHexSize = 2 * kDigestSize;
constexpr std::int64_t kReadChunk = 1 << 16;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// sha256sum writes a name with a backslash or a line break as "\" before the line,
// "\\" and "\n" in the name.
bool Unescape(std::string_view escaped, std::string& name) {
  name.clear();
  for (std::size_t i = 0; i < escaped.size(); ++i) {
    if (escaped[i] != '\\') {
      name += escaped[i];
      continue;
    }
    if (++i == escaped.size()) return false;
    if (escaped[i] == '\\')
      name += '\\';
    else if (escaped[i] == 'n')
      name += '\n';
    else
      return false;
  }
  return true;
}

// A name inside the CD: relative, no "." or ".." step, no empty step.
bool StaysInside(std::string_view name) {
  if (name.empty() || name.front() == '/' || name.find('\\') != std::string_view::npos ||
      (name.size() > 1 && name[1] == ':'))
    return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t end = std::min(name.find('/', start), name.size());
    const std::string_view step = name.substr(start, end - start);
    if (step.empty() || step == "." || step == "..") return false;
    start = end + 1;
  }
  return true;
}

// libgcrypt wants its version check before the first use.
void EnsureGcrypt() {
  static const bool ready = [] {
    if (!gcry_check_version(GCRYPT_VERSION))
      throw ECdToolError(u"libgcrypt is older than " + rtl::Utf8ToString(GCRYPT_VERSION));
    gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
    gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
    return true;
  }();
  (void)ready;
}

class TDigest {
 public:
  TDigest() {
    EnsureGcrypt();
    if (gcry_md_open(&FHandle, GCRY_MD_SHA256, 0)) throw ECdToolError(u"SHA-256 is not available");
  }
  ~TDigest() { gcry_md_close(FHandle); }
  TDigest(const TDigest&) = delete;
  TDigest& operator=(const TDigest&) = delete;

  void Add(const void* data, std::size_t size) { gcry_md_write(FHandle, data, size); }
  std::string Hex() {
    static constexpr char kDigits[] = "0123456789abcdef";
    const unsigned char* digest = gcry_md_read(FHandle, GCRY_MD_SHA256);
    std::string hex;
    for (std::size_t i = 0; i < kDigestSize; ++i) {
      hex += kDigits[digest[i] >> 4];
      hex += kDigits[digest[i] & 15];
    }
    return hex;
  }

 private:
  gcry_md_hd_t FHandle = nullptr;
};

std::filesystem::path FileSystemPath(rtl::StringView path) {
  std::u16string text(path);
#ifndef _WIN32
  std::replace(text.begin(), text.end(), u'\\', u'/');  // the substitute's Windows paths
#endif
  return std::filesystem::path(text);
}

// Every file below root as a relative "/" name, in name order; problems for the
// folders that cannot be listed and the names that cannot be read.
std::set<rtl::String> FilesBelow(rtl::StringView root, std::vector<rtl::String>& problems) {
  std::set<rtl::String> names;
  const std::filesystem::path base = FileSystemPath(root);
  std::error_code error;
  std::filesystem::recursive_directory_iterator it(base, error), end;
  for (; !error && it != end; it.increment(error)) {
    std::error_code typeError;  // a dangling link is no file, and no reason to stop
    if (!it->is_regular_file(typeError)) continue;
    try {
      const std::u16string name = it->path().lexically_relative(base).generic_u16string();
      names.insert(rtl::String(name.begin(), name.end()));
    } catch (const std::exception&) {
      problems.push_back(rtl::Format(u"A file name below %s is not readable text", {root}));
    }
  }
  if (error) problems.push_back(rtl::Format(u"Cannot list the folder %s", {root}));
  return names;
}

rtl::String CdPath(rtl::StringView cdDir, rtl::StringView name) {
  rtl::String windowsName(name);
  std::replace(windowsName.begin(), windowsName.end(), u'/', u'\\');
  return JoinPath(cdDir, windowsName);
}

}  // namespace

TChecksumList ParseChecksumList(std::string_view text, rtl::StringView listName) {
  TChecksumList list;
  std::set<rtl::String> seen;
  int number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t lineEnd = text.find('\n');
    std::string_view line = text.substr(0, lineEnd);
    text = lineEnd == std::string_view::npos ? std::string_view() : text.substr(lineEnd + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    const bool escaped = line.front() == '\\';
    if (escaped) line.remove_prefix(1);
    std::string name;
    bool good = line.size() > kHexSize + 2 && line[kHexSize] == ' ' &&
                (line[kHexSize + 1] == ' ' || line[kHexSize + 1] == '*') &&
                std::all_of(line.begin(), line.begin() + kHexSize, [](char c) { return HexDigit(c) >= 0; });
    if (good) {
      const std::string_view rawName = line.substr(kHexSize + 2);
      if (escaped)
        good = Unescape(rawName, name);
      else
        name = rawName;
    }
    good = good && StaysInside(name);
    TChecksumEntry entry;
    if (good) {
      entry.Hex = line.substr(0, kHexSize);
      std::transform(entry.Hex.begin(), entry.Hex.end(), entry.Hex.begin(),
                     [](char c) { return c >= 'A' && c <= 'F' ? static_cast<char>(c - 'A' + 'a') : c; });
      entry.Name = rtl::Utf8ToString(name);
      good = seen.insert(entry.Name).second;
    }
    if (good)
      list.Entries.push_back(std::move(entry));
    else
      list.Problems.push_back(rtl::Format(u"Malformed line %d in %s", {number, listName}));
  }
  return list;
}

std::string FileSha256(rtl::StringView path) {
  platform::TFileStream stream(path, platform::TFileStreamMode::OpenRead);
  TDigest digest;
  std::vector<std::uint8_t> buffer(kReadChunk);
  for (;;) {
    const std::int64_t n = stream.Read(buffer.data(), kReadChunk);
    if (n < 0) throw ECdToolError(rtl::Format(u"Cannot read file: %s", {path}));
    if (n == 0) break;
    digest.Add(buffer.data(), static_cast<std::size_t>(n));
  }
  return digest.Hex();
}

std::vector<rtl::String> VerifyChecksums(rtl::StringView cdDir) {
  platform::TFileService& files = platform::Platform().Files();
  const rtl::String listPath = JoinPath(cdDir, kChecksumFile);
  std::vector<rtl::String> problems;
  if (!files.FileExists(listPath)) return problems;

  std::string text;
  try {
    platform::TFileStream stream(listPath, platform::TFileStreamMode::OpenRead);
    text.resize(static_cast<std::size_t>(stream.Size()));
    stream.ReadBuffer(text.data(), static_cast<std::int64_t>(text.size()));
  } catch (const rtl::Exception&) {
    problems.push_back(rtl::Format(u"Cannot read file: %s", {listPath}));
    return problems;
  }
  TChecksumList list = ParseChecksumList(text, listPath);
  problems = std::move(list.Problems);

  std::set<rtl::String> listed{rtl::String(kChecksumFile)};
  for (const TChecksumEntry& entry : list.Entries) {
    listed.insert(entry.Name);
    const rtl::String path = CdPath(cdDir, entry.Name);
    if (!files.FileExists(path)) {
      problems.push_back(rtl::Format(u"Missing file: %s", {path}));
      continue;
    }
    try {
      if (FileSha256(path) != entry.Hex) problems.push_back(rtl::Format(u"Changed file: %s", {path}));
    } catch (const rtl::Exception&) {
      problems.push_back(rtl::Format(u"Cannot read file: %s", {path}));
    }
  }
  for (const rtl::String& name : FilesBelow(cdDir, problems))
    if (!listed.count(name)) problems.push_back(rtl::Format(u"Extra file: %s", {CdPath(cdDir, name)}));
  return problems;
}

}  // namespace qor::cdtool
