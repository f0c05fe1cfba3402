#include "tools/cdtool/cdtool_actions.h"

#include <algorithm>

#include "framework/crypt/qor7420_core_crypt.h"
#include "framework/crypt/qor7420_intf_crypt.h"
#include "platform/platform.h"
#include "rtl/format.h"
#include "tools/cdtool/cdtool_args.h"
#include "tools/cdtool/cdtool_progress.h"
#include "tools/cdtool/cdtool_verify.h"

namespace qor::cdtool {

namespace {

constexpr rtl::StringView kAlgorithm = u"Blowfish";

enum class TDirection { Encrypt, Decrypt };

// The key bytes are wiped when they go.
struct TKey {
  std::vector<std::uint8_t> Bytes;
  ~TKey() { std::fill(Bytes.begin(), Bytes.end(), std::uint8_t{0}); }
};

// A path given on the command line names a file in the current folder when it has
// no folder of its own; the profile functions would look in the Windows folder.
rtl::String InCurrentFolder(rtl::StringView name) {
  const bool relative = !name.empty() && name[0] != u'\\' && name[0] != u'/' && !(name.size() > 1 && name[1] == u':');
  if (!relative) return rtl::String(name);
  rtl::String path = platform::Platform().Files().CurrentDirectory();
  if (!path.empty() && path.back() != u'\\' && path.back() != u'/') path.push_back(u'\\');
  return path + rtl::String(name);
}

void Crypt(TDirection direction) {
  TConsoleApp& app = *ConsoleApp;
  const rtl::StringView action = direction == TDirection::Encrypt ? u"-encrypt" : u"-decrypt";
  const TToolArgs args = ParseToolArgs(app.ParamList());
  if (args.Positional.empty() || args.Positional.size() > 2)
    throw ECdToolError(rtl::Format(u"Usage: %s SOURCE [DEST] -key TEXT | -keyhex HEX", {action}));
  TKey key{KeyBytes(args)};
  const rtl::String& source = args.Positional[0];
  // The crypter treats a missing source as nothing to do; for the tool it is an error.
  if (!platform::Platform().Files().FileExists(source))
    throw ECdToolError(rtl::Format(u"File not found: %s", {source}));
  rtl::IPtr<IQorCrypter> crypter = CryptEngine->CreateCrypter(kAlgorithm);
  if (!crypter) throw ECdToolError(rtl::Format(u"No crypter for %s", {kAlgorithm}));
  crypter->SetKey(key.Bytes.data(), static_cast<std::uint32_t>(key.Bytes.size()));
  const bool inPlace = args.Positional.size() == 1 || args.Positional[1] == source;
  {
    // Ended before the log line, which may go to the same terminal.
    TProgressLine progress(direction == TDirection::Encrypt ? "Encrypting" : "Decrypting");
    if (auto* base = dynamic_cast<TQorCrypter*>(crypter.get()))
      base->SetOnProgress([&progress](std::int64_t done, std::int64_t total) { progress.Update(done, total); });
    if (direction == TDirection::Encrypt) {
      if (inPlace)
        crypter->Encrypt(rtl::StringView(source));
      else
        crypter->Encrypt(rtl::StringView(source), rtl::StringView(args.Positional[1]));
    } else {
      if (inPlace)
        crypter->Decrypt(rtl::StringView(source));
      else
        crypter->Decrypt(rtl::StringView(source), rtl::StringView(args.Positional[1]));
    }
  }
  const rtl::StringView verb = direction == TDirection::Encrypt ? u"Encrypted" : u"Decrypted";
  if (inPlace)
    app.DoLog(u"%s %s in place", {verb, source}, true, true);
  else
    app.DoLog(u"%s %s into %s", {verb, source, args.Positional[1]}, true, true);
}

void EncryptAction() { Crypt(TDirection::Encrypt); }
void DecryptAction() { Crypt(TDirection::Decrypt); }

void VerifyAction() {
  TConsoleApp& app = *ConsoleApp;
  const TToolArgs args = ParseToolArgs(app.ParamList());
  if (args.Positional.size() != 1) throw ECdToolError(u"Usage: -verify CDDIR");
  const rtl::String& cdDir = args.Positional[0];
  if (!platform::Platform().Files().DirectoryExists(cdDir))
    throw ECdToolError(rtl::Format(u"No such folder: %s", {cdDir}));
  const std::vector<rtl::String> problems = VerifyCdTree(cdDir);
  for (const rtl::String& problem : problems) app.DoLog(problem, true, true);
  if (!problems.empty())
    throw ECdToolError(rtl::Format(u"%d problem(s) in the CD tree %s", {static_cast<int>(problems.size()), cdDir}));
  app.DoLog(u"The CD tree %s is complete", {cdDir}, true, true);
}

}  // namespace

rtl::String HelpText() {
  return u"nol_cdtool: checks a CD tree and encrypts or decrypts files.\r\n"
         u"\r\n"
         u"Usage: nol_cdtool ACTION [ARGUMENTS] [OPTIONS]\r\n"
         u"\r\n"
         u"Actions:\r\n"
         u"  -verify CDDIR           check that every file the launcher uses exists in the\r\n"
         u"                          CD tree CDDIR and that its pictures decode; with a\r\n"
         u"                          SHA256SUMS at its root, that no file is missing,\r\n"
         u"                          changed or extra\r\n"
         u"  -encrypt SOURCE [DEST]  encrypt SOURCE into DEST (in place without DEST)\r\n"
         u"  -decrypt SOURCE [DEST]  decrypt SOURCE into DEST (in place without DEST)\r\n"
         u"                          (on a terminal, with a progress line on standard error)\r\n"
         u"\r\n"
         u"Options:\r\n"
         u"  -key TEXT               the Blowfish key: the UTF-8 bytes of TEXT (1 to 56)\r\n"
         u"  -keyhex HEX             the Blowfish key in hexadecimal digits (1 to 56 bytes)\r\n"
         u"  -config FILE            configuration: section [Main], keys LogFile and PidFile\r\n"
         u"                          (\"@@param@\" and \"@@date_time@\" expand in LogFile)\r\n"
         u"\r\n"
         u"Exit code 0 when the action is done or this text is shown, 1 when it fails.";
}

void RegisterActions(TConsoleApp& app) {
  app.SetHelpStr(HelpText());
  app.RegisterAction(u"-verify", &VerifyAction);
  app.RegisterAction(u"-encrypt", &EncryptAction);
  app.RegisterAction(u"-decrypt", &DecryptAction);
}

int RunTool() {
  TConsoleApp& app = *ConsoleApp;
  RegisterActions(app);
  try {
    const int index = app.ParamList().IndexOf(u"-config");
    if (index >= 0) {
      if (index + 1 >= app.ParamList().Count() || IsOption(app.ParamList()[index + 1]))
        throw ECdToolError(u"Option -config needs a value");
      app.SetConfigFileName(InCurrentFolder(app.ParamValue(u"-config")));
    }
  } catch (const rtl::Exception& E) {
    // Before RunApp: whatever log is open gets the entry, the console always does.
    app.LogRunError(E);
    return 1;
  }
  app.RunApp();
}

}  // namespace qor::cdtool
