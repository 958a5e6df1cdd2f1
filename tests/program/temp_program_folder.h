// A temporary program folder for tests that run the platform's code on real files: made fresh
// for each test, made the current directory (the program folder), and removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "runtime/core.h"

namespace kesto::testing {

// Native (UTF-8) names for test literals: the program's own literals are GBK.
inline std::string Utf8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

// A UTF-8 relative path as the file system names it.
inline std::filesystem::path NativePath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// A 1 x 1 GIF picture.
inline const std::string kTinyGif{
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00\x21\xf9\x04\x01\x00\x00\x00\x00"
    "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
    43};

// A new folder below the system's temporary folder, its name starting with `prefix` (UTF-8).
inline std::filesystem::path MakeTempFolder(const std::string& prefix) {
  std::random_device random;
  for (;;) {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / NativePath(prefix + std::to_string(random()));
    if (std::filesystem::create_directory(folder)) return folder;
  }
}

class TempProgramFolder {
 public:
  explicit TempProgramFolder(const std::string& prefix = "kesto-test-") {
    previous_ = std::filesystem::current_path();
    root_ = MakeTempFolder(prefix);
    std::filesystem::current_path(root_);
    // The runtime names its current directory as the program writes paths: GBK, with "\".
    inside_ = CurrentDirectory();
  }
  ~TempProgramFolder() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  TempProgramFolder(const TempProgramFolder&) = delete;
  TempProgramFolder& operator=(const TempProgramFolder&) = delete;

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path operator/(const std::string& relative) const {
    return root_ / NativePath(relative);
  }
  // The folder as the program writes it, optionally with a name (GBK, "\" inside) below it.
  Text Inside(const Text& relative = "") const {
    return relative.empty() ? inside_ : inside_ + "\\" + relative;
  }

  // Writes a file (and its folders) below the program folder.
  void Write(const std::string& relative, const std::string& content) const {
    std::filesystem::path path = root_ / NativePath(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
  }
  std::string Read(const std::string& relative) const {
    std::ifstream in(root_ / NativePath(relative), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  bool Exists(const std::string& relative) const {
    return std::filesystem::exists(root_ / NativePath(relative));
  }
  void MakeFolder(const std::string& relative) const {
    std::filesystem::create_directories(root_ / NativePath(relative));
  }

  // An application below app\: "<folder>/<base>.qmz", with a "<base>.dat" giving `title` when
  // the title is not empty and a "<base>.gif" tile when asked for.
  void AddApp(const std::string& folder, const std::string& base, const std::string& title,
              bool withPicture) const {
    std::string prefix = folder.empty() ? "app/" : "app/" + folder + "/";
    Write(prefix + base + ".qmz", "application");
    if (!title.empty()) Write(prefix + base + ".dat", "[ini]\r\nbt=" + title + "\r\n");
    if (withPicture) Write(prefix + base + ".gif", kTinyGif);
  }

 private:
  std::filesystem::path previous_;
  std::filesystem::path root_;
  Text inside_;
};

}  // namespace kesto::testing
