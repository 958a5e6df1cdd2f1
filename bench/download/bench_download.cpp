// Serves a large body on loopback and times, in turn, Download (with a progress callback),
// libcurl fetching the same address into memory, and writing that many fresh bytes alone: the
// floor under any fetch into memory, since the first touch of fresh memory is a cost of the
// machine, not of the routine. Each side runs at least 15 times and for at least 2 s; the
// medians' throughputs, Download's ratio to libcurl's, and the time each fetch takes beyond the
// floor are printed. On a virtual machine whose host takes freed memory back, the floor is most
// of the time; 256 MB makes rounds of about a second there.
//
//   bench_download [megabytes (256)] [repetitions (exactly this many, for a smoke run)]
#include <curl/curl.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/download/libcurl_into_memory.h"
#include "bench/measure/repetitions.h"
#include "bench/measure/summary.h"
#include "net/downloader.h"
#include "tests/net/test_server.h"

namespace {

using kesto::bench::SecondsOf;

double TimeDownload(const std::string& url, long long size) {
  int lastReceived = 0;
  kesto::Bytes body;
  const double seconds = SecondsOf([&] {
    body = kesto::net::Download(url, [&](int, int received, int, int) { lastReceived = received; });
  });
  const bool whole = static_cast<long long>(body.size()) == size && lastReceived == size;
  return whole ? seconds : -1;
}

// Seconds to write `size` bytes into memory never touched before: mapped from the system
// itself, since the heap may hand back pages an earlier round touched.
double TimeFreshMemory(long long size) {
  void* fresh = MAP_FAILED;
  const double seconds = SecondsOf([&] {
    fresh = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (fresh != MAP_FAILED) std::memset(fresh, 1, size);
  });
  if (fresh == MAP_FAILED) return -1;
  munmap(fresh, size);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const long long megabytes = argc > 1 ? std::max(1LL, std::atoll(argv[1])) : 256;
  const long long size = megabytes << 20;
  kesto::bench::RepetitionPlan plan;
  if (argc > 2) plan.exactRepetitions = std::max(1, std::atoi(argv[2]));
  curl_global_init(CURL_GLOBAL_DEFAULT);

  kesto::testing::TestServer server;
  server.RouteStream(
      "/body", "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n", size);
  const std::string url = server.Url("/body");
  const std::vector<kesto::bench::Side> sides = {
      {"Download", [&] { return TimeDownload(url, size); }},
      {"libcurl into memory", [&] { return kesto::bench::TimeLibcurlIntoMemory(url, size); }},
      {"fresh memory alone", [&] { return TimeFreshMemory(size); }}};
  auto samples = kesto::bench::RepeatInterleaved(sides, plan);
  if (!samples) {
    std::fprintf(stderr, "bench_download: a transfer failed\n");
    return 1;
  }

  std::printf("body %lld MB on loopback\n", megabytes);
  const auto summaries = kesto::bench::ReportEachSide(sides, *samples, 20, [&](const auto& s) {
    char throughput[32];
    std::snprintf(throughput, sizeof throughput, "%7.0f MB/s; ",
                  static_cast<double>(megabytes) / s.median);
    return std::string(throughput).append(kesto::bench::Describe(s, 1, "s"));
  });
  // Throughputs of the same body: their ratio is the inverse ratio of the times.
  const double ratio = summaries[1].median / summaries[0].median;
  std::printf("  beyond the floor, medians: Download %.3f s, libcurl %.3f s\n",
              summaries[0].median - summaries[2].median, summaries[1].median - summaries[2].median);
  std::printf("  throughput Download / libcurl, medians: %.2f (target at least 0.90): %s\n", ratio,
              ratio >= 0.9 ? "met" : "NOT met");
  return 0;
}
