// Serves a large body on loopback and times Download (with a progress callback) beside
// `curl -o /dev/null` of the same address in the same run, printing both throughputs and
// their ratio. Each round runs both; the best round of each counts.
//
// curl throws the body away; Download must keep it, and the first touch of that much fresh
// memory is a cost of the machine, not of the routine (on some virtual machines it is
// seconds). So freed memory is kept in the heap here: from the second round on the body lands
// in pages already touched, and the run prints what touching fresh memory costs beside it.
// On a busy machine wall-clock times wander; the processor time each side spent is printed
// too, as the steadier measure of the work done per megabyte.
#include <malloc.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "net/downloader.h"
#include "tests/net/test_server.h"

namespace {

struct Timing {
  double wall = -1;  // negative: the transfer failed
  double cpu = 0;
};

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

double CpuSeconds(const rusage& usage) {
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// curl's own transfer time (its start-up left out) and the processor time of its process.
// posix_spawn shares the address space until exec: a fork would mark every page of the
// heap copy-on-write and make the next round pay a fault for each.
Timing TimeCurl(const std::string& url, long long size) {
  Timing timing;
  int out[2];
  if (pipe(out) != 0) return timing;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::string format = "%{size_download} %{time_total}";
  std::string target = url;
  char* args[] = {const_cast<char*>("curl"),
                  const_cast<char*>("-s"),
                  const_cast<char*>("-o"),
                  const_cast<char*>("/dev/null"),
                  const_cast<char*>("-w"),
                  format.data(),
                  target.data(),
                  nullptr};
  pid_t pid = 0;
  int spawned = posix_spawnp(&pid, "curl", &actions, nullptr, args, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  char text[128] = {};
  ssize_t got = spawned == 0 ? read(out[0], text, sizeof text - 1) : -1;
  close(out[0]);
  if (spawned != 0) return timing;
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  long long received = 0;
  double seconds = 0;
  if (got > 0 && std::sscanf(text, "%lld %lf", &received, &seconds) == 2 && received == size) {
    timing.wall = seconds;
    timing.cpu = CpuSeconds(usage);
  }
  return timing;
}

Timing TimeDownload(const std::string& url, long long size) {
  Timing timing;
  int lastReceived = 0;
  rusage before{}, after{};
  getrusage(RUSAGE_THREAD, &before);
  auto start = std::chrono::steady_clock::now();
  kesto::Bytes body =
      kesto::net::Download(url, [&](int, int received, int, int) { lastReceived = received; });
  double wall = Seconds(std::chrono::steady_clock::now() - start);
  getrusage(RUSAGE_THREAD, &after);
  if (static_cast<long long>(body.size()) == size && lastReceived == static_cast<int>(size)) {
    timing.wall = wall;
    timing.cpu = CpuSeconds(after) - CpuSeconds(before);
  }
  return timing;
}

// Seconds to write `size` bytes into memory never touched before.
double FreshMemorySeconds(long long size) {
  auto start = std::chrono::steady_clock::now();
  kesto::Bytes fresh(static_cast<std::size_t>(size), 1);
  double seconds = Seconds(std::chrono::steady_clock::now() - start);
  return fresh.back() == 1 ? seconds : -1;
}

}  // namespace

int main(int argc, char** argv) {
  const long long megabytes = argc > 1 ? std::max(1LL, std::atoll(argv[1])) : 200;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const long long size = megabytes << 20;
  const double mb = static_cast<double>(size) / (1 << 20);

  const double fresh = FreshMemorySeconds(size);
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);

  kesto::testing::TestServer server;
  server.RouteStream(
      "/body", "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n", size);
  const std::string url = server.Url("/body");

  Timing bestCurl{1e9, 1e9}, bestDownload{1e9, 1e9};
  for (int round = 1; round <= rounds; ++round) {
    Timing curl = TimeCurl(url, size);
    Timing download = TimeDownload(url, size);
    if (curl.wall <= 0 || download.wall <= 0) {
      std::fprintf(stderr, "round %d: a transfer failed (curl %.3f s, Download %.3f s)\n", round,
                   curl.wall, download.wall);
      return 1;
    }
    std::printf("round %d: curl %.3f s (cpu %.3f s), Download %.3f s (cpu %.3f s)\n", round,
                curl.wall, curl.cpu, download.wall, download.cpu);
    bestCurl = {std::min(bestCurl.wall, curl.wall), std::min(bestCurl.cpu, curl.cpu)};
    bestDownload = {std::min(bestDownload.wall, download.wall),
                    std::min(bestDownload.cpu, download.cpu)};
  }
  const double ratio = bestCurl.wall / bestDownload.wall;
  std::printf("body %lld MB on loopback, best of %d rounds\n", megabytes, rounds);
  std::printf("curl -o /dev/null: %.1f MB/s (%.1f MB per cpu second)\n", mb / bestCurl.wall,
              mb / bestCurl.cpu);
  std::printf("Download:          %.1f MB/s (%.1f MB per cpu second)\n", mb / bestDownload.wall,
              mb / bestDownload.cpu);
  std::printf("writing %lld MB of fresh memory alone: %.3f s (%.1f MB/s)\n", megabytes, fresh,
              mb / fresh);
  // The baseline: measured on a quiet machine before chunks were appended from a small buffer.
  std::printf("ratio Download/curl: %.2f (cpu: %.2f; target 0.90; baseline 0.57-0.64)%s\n",
              ratio, bestCurl.cpu / bestDownload.cpu, ratio < 0.9 ? "  below target" : "");
  return 0;
}
