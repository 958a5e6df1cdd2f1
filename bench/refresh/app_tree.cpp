#include "bench/refresh/app_tree.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace kesto::bench {

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

std::string TileGif(const fs::path& scratch) {
  fs::path gif = scratch / "tile.gif";
  std::string command =
      "convert -size 155x140 gradient:'#3080ff-#ffffff' -fill '#808080' "
      "-draw 'rectangle 0,0 20,20' '" +
      gif.string() + "'";
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "bench_refresh: ImageMagick's convert is needed for the tiles\n");
    std::exit(1);
  }
  return ReadFile(gif);
}

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

}  // namespace kesto::bench
