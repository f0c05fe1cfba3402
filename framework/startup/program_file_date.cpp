#include "framework/startup/program_file_date.h"

#include "platform/platform.h"
#include "rtl/datetime.h"

namespace qor {

rtl::String& ProgramFileDate() {
  static rtl::String date;
  return date;
}

namespace {
void Initialization() {
  platform::TFileService& files = platform::Platform().Files();
  rtl::TDateTime modified = 0;
  if (files.GetModificationTime(files.ProgramPath(), modified))
    ProgramFileDate() = rtl::FormatDateTime(rtl::FormatSettings().ShortDateFormat, modified);
  else
    ProgramFileDate().clear();
}
void Finalization() { ProgramFileDate().clear(); }
}  // namespace

const startup::TModule& ProgramFileDateModule() {
  static const startup::TModule module{u"program file date", &Initialization, &Finalization};
  return module;
}

}  // namespace qor
