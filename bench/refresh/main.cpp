// Refresh benchmark: RefreshAppList on the headless toolkit over 1,000 applications (ten per
// folder, each with a .dat and a 155 x 140 GIF) beside "find ... -exec cat" reading the same
// files, and over 10,000 applications without pictures beside a "find" walk of the same tree.
// Each side is timed as the best of several runs after a warm-up, so both read from the cache.
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "apps/app_list.h"
#include "layouts/names.h"
#include "runtime/headless/controls.h"
#include "shell/globals.h"

namespace {

namespace fs = std::filesystem;

double NowMs() {
  timeval now;
  gettimeofday(&now, nullptr);
  return now.tv_sec * 1000.0 + now.tv_usec / 1000.0;
}

// The best of `runs` timings of `work`, in milliseconds, after one untimed warm-up run.
double BestOf(int runs, const std::function<void()>& work) {
  work();
  double best = 1e300;
  for (int run = 0; run < runs; ++run) {
    double start = NowMs();
    work();
    best = std::min(best, NowMs() - start);
  }
  return best;
}

void WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A 155 x 140 tile drawn by ImageMagick, as the tiles are made.
std::string TileGif(const fs::path& scratch) {
  fs::path gif = scratch / "tile.gif";
  std::string command = "convert -size 155x140 gradient:'#3080ff-#ffffff' -fill '#808080' "
                        "-draw 'rectangle 0,0 20,20' '" + gif.string() + "'";
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "bench_refresh: ImageMagick's convert is needed for the tiles\n");
    std::exit(1);
  }
  return ReadFile(gif);
}

// `folders` folders of ten applications each below root/app.
void MakeApps(const fs::path& root, int folders, const std::string& gif) {
  for (int f = 0; f < folders; ++f) {
    fs::path folder = root / "app" / ("tool" + std::to_string(f));
    fs::create_directories(folder);
    for (int a = 0; a < 10; ++a) {
      std::string base = "app" + std::to_string(f) + "_" + std::to_string(a);
      WriteFile(folder / (base + ".qmz"), "application");
      if (!gif.empty()) {
        WriteFile(folder / (base + ".dat"), "[ini]\r\nbt=Tool " + base + "\r\n");
        WriteFile(folder / (base + ".gif"), gif);
      }
    }
  }
}

struct Result {
  double refreshMs;
  double findMs;
  int listed;
};

Result Measure(const fs::path& root, const std::string& findCommand) {
  fs::current_path(root);
  kesto::shell::InitGlobals();
  kesto::headless::ResetAll();
  kesto::ui::LoadWindow(kesto::names::kMainWindow);
  Result result;
  result.refreshMs = BestOf(5, [] { kesto::apps::RefreshAppList(); });
  result.listed = kesto::shell::InstalledApps.Count();
  result.findMs = BestOf(5, [&] {
    if (std::system(findCommand.c_str()) != 0) std::fprintf(stderr, "find failed\n");
  });
  kesto::headless::ResetAll();
  kesto::shell::ReleaseGlobals();
  return result;
}

// `baseline` is the ratio measured on a quiet machine before tiles were checked by their
// layout and each folder was read once.
void Report(const char* what, const Result& result, const char* findWhat, double target,
            const char* baseline) {
  double ratio = result.refreshMs / result.findMs;
  std::printf("%s: %d applications listed\n", what, result.listed);
  std::printf("  RefreshAppList      %9.1f ms\n", result.refreshMs);
  std::printf("  %-19s %9.1f ms\n", findWhat, result.findMs);
  std::printf("  ratio %.2f (target within %.1f; baseline %s) %s\n", ratio, target, baseline,
              ratio <= target ? "met" : "NOT met");
}

}  // namespace

// With "pictures" or "plain" only that case runs.
int main(int argc, char** argv) {
  std::string only = argc > 1 ? argv[1] : "";
  std::string pattern = (fs::temp_directory_path() / "kesto-bench-XXXXXX").string();
  fs::path scratch = mkdtemp(pattern.data());
  fs::path pictures = scratch / "pictures";
  fs::path plain = scratch / "plain";
  if (only != "plain") {
    MakeApps(pictures, 100, TileGif(scratch));
    Report("1,000 applications with .dat and 155 x 140 GIF",
           Measure(pictures, "find app -type f -exec cat {} + > /dev/null"),
           "find -exec cat {} +", 2.0, "6.5-7.8");
  }
  if (only != "pictures") {
    MakeApps(plain, 1000, "");
    Report("10,000 applications without pictures", Measure(plain, "find app > /dev/null"),
           "find", 1.3, "2.1-2.4");
  }

  fs::current_path(fs::temp_directory_path());
  fs::remove_all(scratch);
  return 0;
}
