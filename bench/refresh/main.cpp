// Refresh benchmark: RefreshAppList on the headless toolkit over 1,000 applications (ten per
// folder, each with a .dat and a 155 x 140 GIF) beside "find app -type f -exec cat {} +" reading
// the same files, and over 10,000 applications without pictures beside "find app" walking the
// same tree. Each comparison runs warm (everything in the page cache, after one untimed run of
// each side) and cold (the page cache dropped before every repetition of either side, as after
// a restart; that needs root). The sides take turns until each has run at least 15 times and
// for at least 2 s, and the ratio of their medians is set against its target. The trees are
// written to the disk before any timing, so that their write-back does not fall inside it, and
// the benchmark runs with a fixed memory layout on one processor.
//
//   bench_refresh [pictures | plain] [warm | cold]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "apps/app_list.h"
#include "bench/measure/repetitions.h"
#include "bench/measure/steady_process.h"
#include "bench/measure/summary.h"
#include "bench/refresh/app_tree.h"
#include "bench/refresh/page_cache.h"
#include "bench/refresh/run_tool.h"
#include "layouts/names.h"
#include "runtime/headless/controls.h"
#include "shell/globals.h"

namespace {

namespace fs = std::filesystem;
using kesto::bench::Side;

struct Comparison {
  const char* what;
  fs::path root;
  std::string toolName;
  std::vector<std::string> tool;  // run in `root`
  double target;                  // the most RefreshAppList's median may be, times the tool's
};

// After the cache is dropped the tools' own program files are read back in (by running them on
// a folder of one file), so that the cold figures time reading the application tree, not
// loading find and cat from the disk, which the platform, already running, never does.
struct ColdStart {
  fs::path oneFile;
  std::string failure;
  void operator()() {
    failure = kesto::bench::DropPageCache();
    kesto::bench::RunTool({"find", oneFile.string(), "-type", "f", "-exec", "cat", "{}", "+"});
  }
};

// Whether both sides ran every time.
bool Compare(const Comparison& comparison, bool cold, ColdStart& coldStart) {
  fs::current_path(comparison.root);
  kesto::shell::InitGlobals();
  kesto::headless::ResetAll();
  kesto::ui::LoadWindow(kesto::names::kMainWindow);
  bool toolFailed = false;
  std::vector<Side> sides = {
      {"RefreshAppList",
       [] { return kesto::bench::SecondsOf([] { kesto::apps::RefreshAppList(); }); }},
      {comparison.toolName, [&] {
         double seconds = kesto::bench::SecondsOf([&] {
           if (!kesto::bench::RunTool(comparison.tool)) toolFailed = true;
         });
         return toolFailed ? -1 : seconds;
       }}};
  kesto::bench::RepetitionPlan plan;
  if (cold) {
    plan.beforeEach = [&] { coldStart(); };
  } else {
    for (const Side& side : sides) side.timeOnce();
  }
  auto samples = kesto::bench::RepeatInterleaved(sides, plan);
  const int listed = kesto::shell::InstalledApps.Count();
  kesto::headless::ResetAll();
  kesto::shell::ReleaseGlobals();

  std::printf("%s, %s: %d applications listed\n", comparison.what,
              cold ? "cold (page cache dropped before every repetition)" : "warm", listed);
  if (!samples) {
    std::printf("  %s failed\n", comparison.tool[0].c_str());
    return false;
  }
  if (cold && !coldStart.failure.empty()) {
    std::printf("  the page cache could not be dropped (%s): these are not cold figures\n",
                coldStart.failure.c_str());
  }
  const auto summaries = kesto::bench::ReportEachSide(
      sides, *samples, 20, [](const auto& s) { return kesto::bench::Describe(s, 1000, "ms"); });
  const double ratio = summaries[0].median / summaries[1].median;
  std::printf("  ratio of medians %.2f (target at most %.1f): %s\n\n", ratio, comparison.target,
              ratio <= comparison.target ? "met" : "NOT met");
  std::fflush(stdout);
  return true;
}

bool Wanted(const std::vector<std::string>& choices, const std::string& a, const std::string& b,
            const std::string& which) {
  for (const std::string& choice : choices) {
    if (choice == a || choice == b) return choice == which;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> choices(argv + 1, argv + argc);
  for (const std::string& choice : choices) {
    if (choice != "pictures" && choice != "plain" && choice != "warm" && choice != "cold") {
      std::fprintf(stderr, "usage: bench_refresh [pictures | plain] [warm | cold]\n");
      return 2;
    }
  }
  kesto::bench::SteadyThisProcess(argv);
  std::string pattern = (fs::temp_directory_path() / "kesto-bench-XXXXXX").string();
  fs::path scratch = mkdtemp(pattern.data());
  ColdStart coldStart{scratch / "tools" / "one", ""};
  fs::create_directories(coldStart.oneFile.parent_path());
  std::FILE* one = std::fopen(coldStart.oneFile.c_str(), "w");
  if (one) std::fclose(one);

  std::vector<Comparison> comparisons;
  if (Wanted(choices, "pictures", "plain", "pictures")) {
    kesto::bench::MakeApps(scratch / "pictures", 100, kesto::bench::TileGif(scratch));
    comparisons.push_back({"1,000 applications with .dat and 155 x 140 GIF",
                           scratch / "pictures",
                           "find -exec cat {} +",
                           {"find", "app", "-type", "f", "-exec", "cat", "{}", "+"},
                           1.0});
  }
  if (Wanted(choices, "pictures", "plain", "plain")) {
    kesto::bench::MakeApps(scratch / "plain", 1000, "");
    comparisons.push_back(
        {"10,000 applications without pictures", scratch / "plain", "find", {"find", "app"}, 1.3});
  }
  sync();
  bool ran = true;
  for (const Comparison& comparison : comparisons) {
    if (Wanted(choices, "warm", "cold", "warm")) ran = Compare(comparison, false, coldStart) && ran;
    if (Wanted(choices, "warm", "cold", "cold")) ran = Compare(comparison, true, coldStart) && ran;
  }

  fs::current_path(fs::temp_directory_path());
  fs::remove_all(scratch);
  return ran ? 0 : 1;
}
