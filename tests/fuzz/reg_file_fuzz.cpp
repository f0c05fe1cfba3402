// libFuzzer target: the substitute's .reg reader either loads a file or names the file
// and line of its fault; it never crashes or hangs.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "latin1_decoder.h"
#include "platform/posix/reg_file.h"

using namespace qor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const platform::TAnsiDecoder& latin1 = Latin1Decoder();
  platform::posix::TRegStore store;
  try {
    store.Load(bytes, u"fuzz.reg", latin1);
  } catch (const platform::ERegistryFileError& e) {
    // "fuzz.reg:<line>: <reason>" with a line from 1 on.
    const rtl::String& m = e.Message();
    if (m.rfind(u"fuzz.reg:", 0) != 0 || m.size() < 12 || m[9] < u'1' || m[9] > u'9') std::abort();
    if (!store.Keys().empty()) std::abort();
    return 0;
  }
  for (const auto& [name, key] : store.Keys()) {
    const std::size_t slash = name.find(u'\\');
    const rtl::String path = slash == rtl::String::npos ? rtl::String() : name.substr(slash + 1);
    if (name.rfind(u"HKEY_LOCAL_MACHINE", 0) == 0) store.FindKey(platform::TRegRoot::LocalMachine, path);
    if (name.rfind(u"HKEY_CURRENT_USER", 0) == 0 && !store.FindKey(platform::TRegRoot::CurrentUser, path))
      std::abort();  // every loaded user key can be found again
  }
  return 0;
}
