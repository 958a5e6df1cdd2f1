// Applying a staged platform release: a 20 MB program file fetched and checked behind an earlier
// start is put in place by the next start before the platform runs, so the time it takes is
// time the seller waits. It is set beside copying the same file into place, the least an
// update that was not staged would have to do at the start (before any download).
//
//   bench_apply_staged [megabytes] [repetitions]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/measure/repetitions.h"
#include "bench/measure/summary.h"
#include "update/release_swap.h"

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

}  // namespace

int main(int argc, char** argv) {
  const long megabytes = argc > 1 ? std::atol(argv[1]) : 20;
  const int repetitions = argc > 2 ? std::atoi(argv[2]) : 0;
  const fs::path folder =
      fs::temp_directory_path() / ("kesto-bench-apply-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder / ".up-stage" / "pt");
  fs::current_path(folder);
  // The updater's log line for every release put in place is not a figure.
  if (!std::freopen("/dev/null", "w", stderr)) return 1;

  std::string program(static_cast<std::size_t>(megabytes) << 20, '\0');
  for (std::size_t i = 0; i < program.size(); ++i) program[i] = static_cast<char>(i * 131 % 251);
  WriteFile(folder / "kesto", program);
  WriteFile(folder / "up.ini", "[versions]\r\npt=1.0\r\n");
  int release = 0;

  kesto::bench::RepetitionPlan plan;
  plan.exactRepetitions = repetitions;
  // Every repetition finds a new release staged and a copy to make, and the disk settled.
  plan.beforeEach = [&] {
    kesto::update::KeepAppliedRelease("pt");
    const fs::path ready = folder / ".up-stage" / "pt" / "ready";
    fs::create_directories(ready);
    WriteFile(ready / "kesto", program);
    WriteFile(ready / ".version", "1." + std::to_string(++release));
    WriteFile(folder / "kesto.new", program);
    fs::remove(folder / "kesto.copy");
    sync();
  };
  bool failed = false;
  const std::vector<kesto::bench::Side> sides = {
      {"apply staged release",
       [&] {
         const double seconds =
             kesto::bench::SecondsOf([&] { failed |= !kesto::update::ApplyStagedRelease("pt"); });
         return failed ? -1.0 : seconds;
       }},
      {"copy into place", [&] {
         return kesto::bench::SecondsOf(
             [&] { fs::copy_file(folder / "kesto.new", folder / "kesto.copy"); });
       }}};
  const auto samples = kesto::bench::RepeatInterleaved(sides, plan);
  fs::current_path(fs::temp_directory_path());
  fs::remove_all(folder);
  if (!samples) {
    std::printf("applying a staged release failed\n");
    return 1;
  }
  std::printf("a staged platform release of %ld MB:\n", megabytes);
  const auto summaries = kesto::bench::ReportEachSide(
      sides, *samples, 22, [](const auto& s) { return kesto::bench::Describe(s, 1000, "ms"); });
  std::printf("  ratio of medians (apply / copy) %.3f\n",
              summaries[0].median / summaries[1].median);
  return 0;
}
