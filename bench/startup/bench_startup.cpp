// Start-up benchmark: each window program is started in turn on a private display, and the
// time from its start to its window being mapped is taken. Prints every run, the medians and
// their ratio; exits 1 when the platform's window takes more than 1.5 times the minimal one.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/runtime/gtk/x_session.h"

namespace {

constexpr double kTargetRatio = 1.5;
constexpr int kTimeoutMs = 30000;

double NowMs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

// Milliseconds from starting the program to its "mapped", or a negative number on failure.
double TimeToMapped(const char* program) {
  int out[2];
  if (pipe(out) != 0) return -1;
  const double start = NowMs();
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    execl(program, program, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  double took = -1;
  char line[64] = {};
  pollfd wait{out[0], POLLIN, 0};
  if (pid > 0 && poll(&wait, 1, kTimeoutMs) == 1 && read(out[0], line, sizeof line - 1) > 0 &&
      std::string(line).rfind("mapped", 0) == 0) {
    took = NowMs() - start;
  }
  close(out[0]);
  if (pid > 0) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  return took;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  kesto::testing::XSession::Options options;
  options.tray = false;
  std::string whyNot;
  auto session = kesto::testing::XSession::Start(options, whyNot);
  if (!session) {
    std::fprintf(stderr, "bench_startup: %s\n", whyNot.c_str());
    return 2;
  }
  std::printf("display %s, %d runs each (after one warm-up run)\n", session->display().c_str(),
              runs);
  TimeToMapped(PLATFORM_WINDOW);
  TimeToMapped(MINIMAL_WINDOW);
  std::vector<double> platform, minimal;
  for (int i = 0; i < runs; ++i) {
    // Alternating, so that neither gains from the other's warm caches more than the other.
    const bool platformFirst = i % 2 == 0;
    const double a = TimeToMapped(platformFirst ? PLATFORM_WINDOW : MINIMAL_WINDOW);
    const double b = TimeToMapped(platformFirst ? MINIMAL_WINDOW : PLATFORM_WINDOW);
    const double p = platformFirst ? a : b, m = platformFirst ? b : a;
    if (p < 0 || m < 0) {
      std::fprintf(stderr, "bench_startup: a window did not come up\n");
      return 2;
    }
    platform.push_back(p);
    minimal.push_back(m);
    std::printf("run %d: platform main window %.0f ms, minimal window %.0f ms\n", i + 1, p, m);
  }
  const double ratio = Median(platform) / Median(minimal);
  std::printf("median: platform main window %.0f ms, minimal GTK + WebKitGTK window %.0f ms\n",
              Median(platform), Median(minimal));
  std::printf("ratio %.2f (target at most %.1f): %s\n", ratio, kTargetRatio,
              ratio <= kTargetRatio ? "met" : "missed");
  return ratio <= kTargetRatio ? 0 : 1;
}
