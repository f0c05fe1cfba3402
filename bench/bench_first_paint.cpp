// Process start to first paint of the launcher's main window, next to a bare GTK
// window of the same size, measured the same way: the clock runs from fork() until
// the program has written its NOL_FIRST_PAINT file. Each process is then ended and
// its peak resident memory read from wait4().
//
// Runs on $DISPLAY, or on an Xvfb of its own when there is none. The launcher runs
// on a temporary copy of the demo CD with an installed copy registered (the fuller
// layout), from the CD's bin folder as its current directory.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kPaintTimeoutMs = 30000;

struct TRun {
  double Seconds = 0;
  long PeakRssKb = 0;
  double CpuSeconds = 0;  // the child's user and system time, less sensitive to a busy machine
};

// One Xvfb for the whole run when no display is given.
class TDisplay {
 public:
  TDisplay() {
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && *display != '\0') return;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    FPid = fork();
    if (FPid == 0) {
      dup2(fds[1], 3);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 2);
      execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    pollfd p{fds[0], POLLIN, 0};
    while (poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) throw std::runtime_error("Xvfb did not start");
    setenv("DISPLAY", (":" + number).c_str(), 1);
  }
  ~TDisplay() {
    if (FPid > 0) {
      kill(FPid, SIGTERM);
      waitpid(FPid, nullptr, 0);
    }
  }

 private:
  pid_t FPid = -1;
};

class TScratch {
 public:
  TScratch() {
    char pattern[] = "/tmp/nol-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
    Root = pattern;
    fs::copy(NOL_DEMO_CD, Root / "cd", fs::copy_options::recursive);
    fs::create_directories(Root / "cd" / "bin");
    fs::copy_file(NOL_LAUNCHER, Root / "cd" / "bin" / "nol_cdrun");
    fs::create_directories(Root / "install" / "bin");
    std::ofstream reg(Root / "registry.reg");
    reg << "Windows Registry Editor Version 5.00\r\n\r\n"
        << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VEX7420_2.0_is1]\r\n"
        << "\"InstallLocation\"=\"" << (Root / "install").string() << "/\"\r\n";
  }
  ~TScratch() {
    std::error_code ec;
    fs::remove_all(Root, ec);
  }
  fs::path Root;
};

TDisplay& Display() {
  static TDisplay display;
  return display;
}
TScratch& Scratch() {
  static TScratch scratch;
  return scratch;
}

// Starts program in dir with NOL_FIRST_PAINT set, waits for the marker, ends the
// process and returns the time to the marker and the peak memory.
TRun RunOnce(const std::string& program, const fs::path& dir, const fs::path& marker) {
  fs::remove(marker);
  const int watch = inotify_init1(IN_CLOEXEC);
  if (watch < 0 || inotify_add_watch(watch, marker.parent_path().c_str(), IN_MOVED_TO | IN_CLOSE_WRITE) < 0)
    throw std::runtime_error("inotify failed");

  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(126);
    setenv("NOL_FIRST_PAINT", marker.c_str(), 1);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 1);
    dup2(null, 2);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  bool painted = false;
  const auto deadline = start + std::chrono::milliseconds(kPaintTimeoutMs);
  while (!painted) {
    if (fs::exists(marker)) {
      painted = true;
      break;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) break;
    pollfd p{watch, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left)) > 0) {
      char events[4096];
      [[maybe_unused]] const auto n = read(watch, events, sizeof events);
    }
  }
  const auto end = std::chrono::steady_clock::now();
  close(watch);

  kill(pid, SIGTERM);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  if (!painted) throw std::runtime_error(program + ": no first paint within the time limit");
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return TRun{std::chrono::duration<double>(end - start).count(), usage.ru_maxrss,
              seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

void Measure(benchmark::State& state, const std::string& program, const fs::path& dir) {
  Display();
  const fs::path marker = Scratch().Root / "first-paint";
  long peak = 0;
  double cpu = 0;
  try {
    for (auto _ : state) {
      const TRun run = RunOnce(program, dir, marker);
      state.SetIterationTime(run.Seconds);
      peak = std::max(peak, run.PeakRssKb);
      cpu += run.CpuSeconds;
    }
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  state.counters["peak_rss_MiB"] = static_cast<double>(peak) / 1024.0;
  state.counters["child_cpu_ms"] = 1000.0 * cpu / static_cast<double>(state.iterations());
}

void BM_LauncherFirstPaint(benchmark::State& state) {
  Measure(state, (Scratch().Root / "cd" / "bin" / "nol_cdrun").string(), Scratch().Root / "cd" / "bin");
}
void BM_BareGtkWindowFirstPaint(benchmark::State& state) {
  Measure(state, NOL_BARE_WINDOW, Scratch().Root);
}

}  // namespace

BENCHMARK(BM_BareGtkWindowFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_LauncherFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  setenv("NOL_REGISTRY", (Scratch().Root / "registry.reg").c_str(), 1);
  // Both programs run without the accessibility bus, which a bare Xvfb lacks.
  setenv("NO_AT_BRIDGE", "1", 1);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
