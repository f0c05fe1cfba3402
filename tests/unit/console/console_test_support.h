#pragma once
// The fake platform, the command line and an observable exit operation for the
// console application tests.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "framework/console/nol_console.h"
#include "framework/startup/module_runner.h"
#include "platform/fake/fake_platform.h"
#include "rtl/datetime.h"
#include "rtl/format_settings.h"

namespace qor::test {

// Thrown by the exit operation's hook in place of ending the process.
struct THalted {
  int Code;
};

class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FSavedSettings = rtl::FormatSettings();
    rtl::FormatSettings().TimeSeparator = u':';
    rtl::FormatSettings().DecimalSeparator = u',';
    SetConsoleProgram(true);
    startup::SetHaltHook([](int code) { throw THalted{code}; });
    Fake.Clock().Time = rtl::EncodeDateTime(2017, 3, 15, 14, 5, 9, 0);
    Args({});
  }
  void TearDown() override {
    ConsoleApp.reset();
    startup::SetHaltHook(nullptr);
    SetConsoleProgram(false);
    rtl::FormatSettings() = FSavedSettings;
  }

  // The parameters after the program's own path.
  void Args(std::initializer_list<rtl::String> params) {
    std::vector<rtl::String> all{u"C:\\cd\\bin\\nol_cdtool.exe"};
    all.insert(all.end(), params.begin(), params.end());
    Fake.Processes().Args = std::move(all);
  }

  std::string FileText(rtl::StringView name) { return Fake.Files().Contents(name).value_or("<none>"); }
  std::string& ConsoleOutput() { return Fake.Console().Output; }

  // Runs f, which must end through the exit operation, and returns the exit code.
  template <class F>
  static int ExitCodeOf(F&& f) {
    try {
      f();
    } catch (const THalted& halted) {
      return halted.Code;
    }
    ADD_FAILURE() << "the process did not end";
    return -1;
  }

  platform::fake::TFakePlatform Fake;

 private:
  platform::TScopedPlatform FScope{Fake};
  rtl::TFormatSettings FSavedSettings;
};

}  // namespace qor::test
