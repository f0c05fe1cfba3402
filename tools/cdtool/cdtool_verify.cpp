#include "tools/cdtool/cdtool_verify.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "forms/picture.h"
#include "platform/file_stream.h"
#include "platform/platform.h"
#include "rtl/format.h"
#include "tools/cdtool/cdtool_checksums.h"

namespace qor::cdtool {

namespace {

struct TCdEntry {
  rtl::StringView Path;  // relative to the CD's root, as the launcher names it from bin
  bool Picture;
};

// What the launcher opens: its main window's background and advertising picture,
// the brochure and the help file, and the presentations window's documents.
constexpr std::array<TCdEntry, 7> kCdFiles = {{
    {u"img\\cd.jpg", true},
    {u"pdf\\loranta.pdf", false},
    {u"doc\\htmlhelp.chm", false},
    {u"img\\cd_2.jpg", true},
    {u"etc\\nereval.pps", false},
    {u"etc\\Brevlo2010.pdf", false},
    {u"etc\\pk_loranta.wmv", false},
}};
// The update folder that Launch / Update hands to the installed program.
constexpr rtl::StringView kUpdateFolder = u"upd";

#if !NOL_FORMS_DECODES_PICTURES
// This build has no picture decoder: a JPEG is recognised by its signature only.
bool PictureDecodes(rtl::StringView path) {
  try {
    platform::TFileStream stream(path, platform::TFileStreamMode::OpenRead);
    std::uint8_t head[3] = {};
    return stream.Read(head, 3) == 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
  } catch (const rtl::Exception&) {
    return false;
  }
}
#else
bool PictureDecodes(rtl::StringView path) {
  forms::TPicture picture;
  return picture.LoadFromFile(path);
}
#endif

}  // namespace

rtl::String JoinPath(rtl::StringView folder, rtl::StringView name) {
  rtl::String path(folder);
  if (!path.empty() && path.back() != u'\\' && path.back() != u'/') path.push_back(u'\\');
  path += name;
  return path;
}

std::vector<rtl::String> VerifyCdTree(rtl::StringView cdDir) {
  platform::TFileService& files = platform::Platform().Files();
  std::vector<rtl::String> problems;
  for (const TCdEntry& entry : kCdFiles) {
    const rtl::String path = JoinPath(cdDir, entry.Path);
    if (!files.FileExists(path))
      problems.push_back(rtl::Format(u"Missing file: %s", {path}));
    else if (entry.Picture && !PictureDecodes(path))
      problems.push_back(rtl::Format(u"Picture does not decode: %s", {path}));
  }
  const rtl::String update = JoinPath(cdDir, kUpdateFolder);
  if (!files.DirectoryExists(update)) problems.push_back(rtl::Format(u"Missing folder: %s", {update}));
  for (rtl::String& problem : VerifyChecksums(cdDir))
    if (std::find(problems.begin(), problems.end(), problem) == problems.end()) problems.push_back(std::move(problem));
  return problems;
}

}  // namespace qor::cdtool
