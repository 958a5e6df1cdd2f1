// The application folders the refresh benchmark lists.
#pragma once

#include <filesystem>
#include <string>

namespace kesto::bench {

// A 155 x 140 tile drawn by ImageMagick, as the tiles are made; exits when it cannot be drawn.
std::string TileGif(const std::filesystem::path& scratch);

// `folders` folders of ten applications each below root/app; each with a .dat and `gif` as its
// picture unless `gif` is empty.
void MakeApps(const std::filesystem::path& root, int folders, const std::string& gif);

}  // namespace kesto::bench
