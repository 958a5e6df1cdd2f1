// Serves a large body on loopback and times Download (with a progress callback) beside
// `curl -o /dev/null` of the same address in the same run, printing both throughputs and
// their ratio. Each round runs both; the best round of each counts.
//
// curl throws the body away; Download must keep it, and the first touch of that much fresh
// memory is a cost of the machine, not of the routine (on some virtual machines it is
// seconds). So freed memory is kept in the heap here: from the second round on the body lands
// in pages already touched, and the run prints what touching fresh memory costs beside it.
#include <malloc.h>
#include <spawn.h>
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

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// curl's own transfer time (its start-up left out), or a negative value when it failed.
// posix_spawn shares the address space until exec: a fork would mark every page of the
// heap copy-on-write and make the next round pay a fault for each.
double CurlSeconds(const std::string& url, long long size) {
  int out[2];
  if (pipe(out) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::string format = "%{size_download} %{time_total}";
  char* args[] = {const_cast<char*>("curl"),      const_cast<char*>("-s"),
                  const_cast<char*>("-o"),        const_cast<char*>("/dev/null"),
                  const_cast<char*>("-w"),        format.data(),
                  const_cast<char*>(url.c_str()), nullptr};
  pid_t pid = 0;
  int spawned = posix_spawnp(&pid, "curl", &actions, nullptr, args, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  char text[128] = {};
  ssize_t got = spawned == 0 ? read(out[0], text, sizeof text - 1) : -1;
  close(out[0]);
  if (spawned != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  long long received = 0;
  double seconds = 0;
  if (got <= 0 || std::sscanf(text, "%lld %lf", &received, &seconds) != 2 || received != size) {
    return -1;
  }
  return seconds;
}

double DownloadSeconds(const std::string& url, long long size) {
  int lastReceived = 0;
  auto start = std::chrono::steady_clock::now();
  kesto::Bytes body =
      kesto::net::Download(url, [&](int, int received, int, int) { lastReceived = received; });
  double seconds = Seconds(std::chrono::steady_clock::now() - start);
  if (static_cast<long long>(body.size()) != size || lastReceived != static_cast<int>(size)) {
    return -1;
  }
  return seconds;
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
  const long long megabytes = argc > 1 ? std::atoll(argv[1]) : 200;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  const long long size = megabytes << 20;
  const double fresh = FreshMemorySeconds(size);
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);

  kesto::testing::TestServer server;
  server.RouteStream(
      "/body", "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n", size);
  const std::string url = server.Url("/body");

  double bestCurl = 1e9, bestDownload = 1e9;
  for (int round = 1; round <= rounds; ++round) {
    double curl = CurlSeconds(url, size);
    double download = DownloadSeconds(url, size);
    if (curl <= 0 || download <= 0) {
      std::fprintf(stderr, "round %d: a transfer failed (curl %.3f s, Download %.3f s)\n", round,
                   curl, download);
      return 1;
    }
    std::printf("round %d: curl %.3f s, Download %.3f s\n", round, curl, download);
    bestCurl = std::min(bestCurl, curl);
    bestDownload = std::min(bestDownload, download);
  }
  const double mb = static_cast<double>(size) / (1 << 20);
  const double curlRate = mb / bestCurl, downloadRate = mb / bestDownload;
  std::printf("body %lld MB on loopback, best of %d rounds\n", megabytes, rounds);
  std::printf("curl -o /dev/null: %.1f MB/s\n", curlRate);
  std::printf("Download:          %.1f MB/s\n", downloadRate);
  std::printf("(writing %lld MB of fresh memory alone took %.3f s here: %.1f MB/s)\n", megabytes,
              fresh, mb / fresh);
  std::printf("ratio Download/curl: %.2f (target 0.80)%s\n", downloadRate / curlRate,
              downloadRate / curlRate < 0.8 ? "  BELOW TARGET" : "");
  return 0;
}
