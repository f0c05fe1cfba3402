#include "forms/program_title.h"

#include "platform/platform.h"

namespace qor::forms {

rtl::String FileTitle(rtl::StringView path) {
  auto slash = path.find_last_of(u"\\/");
  rtl::StringView name = slash == rtl::StringView::npos ? path : path.substr(slash + 1);
  auto dot = name.rfind(u'.');
  if (dot != rtl::StringView::npos && dot > 0) name = name.substr(0, dot);
  return rtl::String(name);
}

rtl::String ProgramTitle() {
  if (!platform::PlatformInstalled()) return {};
  try {
    return FileTitle(platform::Platform().Files().ProgramPath());
  } catch (...) {
    return {};
  }
}

}  // namespace qor::forms
