#pragma once
// The real platform of this build, a private temporary folder per test, the helper
// programs next to the test executable, and bounded waits for what they write.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "platform/system_platform.h"

namespace qor::platform::testing {

namespace fs = std::filesystem;

inline void SetEnv(const char* name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name, value.c_str());
#else
  if (value.empty())
    unsetenv(name);
  else
    setenv(name, value.c_str(), 1);
#endif
}

inline std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Polls every 10 ms, for at most timeout.
inline bool WaitFor(const std::function<bool()>& condition,
                    std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

inline rtl::String Str(const fs::path& p) { return p.u16string(); }

class SystemPlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FPlatform = CreateSystemPlatform();
    FInstalled = std::make_unique<TScopedPlatform>(*FPlatform);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    FDir = fs::temp_directory_path() / ("nol-platform-" + std::to_string(FPlatform->Clock().ProcessId()) + "-" +
                                        info->test_suite_name() + "-" + info->name());
    fs::remove_all(FDir);
    fs::create_directories(FDir);
  }
  void TearDown() override {
    FInstalled.reset();
    std::error_code ignored;
    if (!HasFailure()) fs::remove_all(FDir, ignored);
  }

  TPlatform& P() { return *FPlatform; }
  const fs::path& Dir() const { return FDir; }

  // A helper program built into tools/ next to the tests' folder.
  fs::path Tool(const std::string& name) {
    const fs::path self = fs::path(P().Files().ProgramPath());
#ifdef _WIN32
    return self.parent_path().parent_path() / "tools" / (name + ".exe");
#else
    return self.parent_path().parent_path() / "tools" / name;
#endif
  }

  std::unique_ptr<TPlatform> FPlatform;
  std::unique_ptr<TScopedPlatform> FInstalled;
  fs::path FDir;
};

// The lines nol_record_args wrote: its working folder and its arguments.
struct TRecord {
  std::u16string Cwd;
  std::vector<std::u16string> Args;
};

inline std::string Unescape(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      const char e = s[++i];
      out += e == 'n' ? '\n' : e == 'r' ? '\r' : e;
    } else {
      out += s[i];
    }
  }
  return out;
}

// Waits until the stub's record is complete.
inline bool WaitForRecord(const fs::path& file) {
  return WaitFor([&] {
    const std::string text = ReadBytes(file);
    return text.size() >= 4 && text.compare(text.size() - 4, 4, "end\n") == 0;
  });
}

inline TRecord ReadRecord(const fs::path& file) {
  TRecord r;
  std::istringstream in(ReadBytes(file));
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("cwd=", 0) == 0) r.Cwd = rtl::Utf8ToString(Unescape(line.substr(4)));
    if (line.rfind("arg=", 0) == 0) r.Args.push_back(rtl::Utf8ToString(Unescape(line.substr(4))));
  }
  return r;
}

}  // namespace qor::platform::testing
